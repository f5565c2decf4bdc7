// The Start command: the question, declining it, and a confirmed start with its reset.
#include "game_fixture.h"

#include <cstdio>
#include <ctime>

#include "board.h"
#include "fall.h"
#include "game_sounds.h"
#include "game_state.h"
#include "painting.h"
#include "pieces.h"
#include "records_file.h"
#include "stakko.h"

namespace {

const std::string startQuestion = "GenericMessagePopup(Message, Do you want to start a new game "
                                  "now?, __Yes, __No, null, null, 0, 0, 2, 2, 0)";

class StartTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        panelHandle = 1;
        ASSERT_EQ(checkFileIntegrity(), 1);
        fake::ui.log.clear();
    }

    static int pressStart(int answer) {
        fake::ui.answers.push_back(answer);
        return Start(1, PANEL_START, EVENT_COMMIT, nullptr, 0, 0);
    }
};

TEST_F(StartTest, DecliningWhileIdleAsksAndLeavesTheTimerOff) {
    fake::ui.onPopup = [](const std::string &, const std::string &) {
        EXPECT_EQ(fake::attribute(PANEL_TIMER, ATTR_ENABLED), 0);
    };
    for (int answer : {2, 0, -1}) { // only the first button is yes
        fake::ui.log.clear();
        EXPECT_EQ(pressStart(answer), 1);
        EXPECT_EQ(fake::ui.log,
                  (std::vector<std::string>{"SetCtrlAttribute(1, 15, 1271, 0)", startQuestion}));
        EXPECT_EQ(gameRunning, 0);
    }
}

TEST_F(StartTest, DecliningDuringAGameLetsItGoOn) {
    gameRunning = 1;
    currentPiece = Piece{1, 4, 9, 2, 3};
    EXPECT_EQ(pressStart(2), 1);
    EXPECT_EQ(fake::ui.log,
              (std::vector<std::string>{"SetCtrlAttribute(1, 15, 1271, 0)", startQuestion,
                                        "SetCtrlAttribute(1, 15, 1271, 1)", "SetCtrlVal(1, 11, 1)",
                                        "SetCtrlAttribute(1, 5, 500, 0)"}));
    EXPECT_EQ(currentPiece.row, 9);
    EXPECT_EQ(gameRunning, 1);
}

TEST_F(StartTest, ConfirmingResetsTheGameAndBringsTheFirstPiece) {
    writeRecordsFile("700\n420\n80\n6.000000\n");
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        for (int r = 0; r < BOARD_ROWS; r++) {
            board[c][r] = 3;
            cellPlots[c][r] = 5; // handles of the last game's plots
        }
    }
    PaintSquare(2, 2, 4);
    fake::ui.values[PANEL_SCORE] = 500;
    rowsCompleted = 37;
    currentSpeed = 2.0f;
    timerInterval = 0.1;
    soundOn = 0;
    fake::ui.log.clear();

    time_t before = time(NULL);
    EXPECT_EQ(pressStart(1), 0);
    time_t after = time(NULL);

    // The steps come in this order.
    const std::string steps[] = {
        "SetCtrlAttribute(1, 15, 1271, 0)",
        startQuestion,
        std::string("GetBitmapFromFile(") + IMAGE_FILE("blank") + ")",
        "SetCtrlAttribute(1, 15, 1270, 0.4)",
        "SetCtrlVal(1, 4, 0)",
        "SetCtrlVal(1, 3, 9999)",
        "DeleteGraphPlot(1, 10, -1, 1)",
        "DeleteGraphPlot(1, 2, -1, 1)",
        "SetCtrlAttribute(1, 15, 1271, 1)",
        "SetCtrlVal(1, 11, 1)",
        "SetCtrlAttribute(1, 5, 500, 0)",
        "SetActiveCtrl(1, 5)",
    };
    int at = -1;
    for (const std::string &step : steps) {
        int found = fake::find(step, at + 1);
        EXPECT_GT(found, at) << step;
        at = found;
    }
    EXPECT_EQ(fake::ui.log.back(), "SetActiveCtrl(1, 5)");

    // The whole field and the hidden row are empty; column 0 and row 21 are not touched.
    for (int c = 1; c <= 10; c++) {
        for (int r = 0; r <= 20; r++) {
            ASSERT_EQ(board[c][r], 0) << c << "," << r;
        }
    }
    EXPECT_EQ(board[0][5], 3);
    EXPECT_EQ(board[4][21], 3);
    // No plot of the last game is deleted one by one; only the first piece is drawn.
    for (const std::string &call : fake::callsStartingWith("DeleteGraphPlot(1, 10,")) {
        EXPECT_EQ(call, "DeleteGraphPlot(1, 10, -1, 1)");
    }
    EXPECT_EQ(boardPlots(), piecePlots(currentPiece));
    EXPECT_EQ(currentPiece.row, 1);

    EXPECT_EQ(highScore, 80);
    EXPECT_EQ(scoreRecordAtStart, 80);
    EXPECT_FLOAT_EQ(highSpeed, 6.0f);
    EXPECT_TRUE(fake::callsStartingWith("SetPanelSize").empty());
    EXPECT_TRUE(fake::callsStartingWith("ResetTextBox").empty());
    EXPECT_EQ(rowsCompleted, 0);
    EXPECT_EQ(currentSpeed, 9999.0f);
    EXPECT_EQ(timerInterval, 0.4);
    EXPECT_GE(gameStartTime, before);
    EXPECT_LE(gameStartTime, after);
    EXPECT_EQ(gameRunning, 1);
    EXPECT_EQ(fake::ui.activeControl, PANEL_PAUSE);
    EXPECT_EQ(soundOn, 0);

    // The first two pieces come from the calendar time as the seed.
    bool seededByTime = false;
    Piece first = currentPiece, second = nextPiece;
    for (time_t t = before; t <= after; t++) {
        SetRandomSeed(static_cast<int>(t));
        setNextPiece();
        Piece drawnFirst = nextPiece;
        setNextPiece();
        seededByTime |= drawnFirst.shape == first.shape && drawnFirst.colour == first.colour &&
                        nextPiece.shape == second.shape && nextPiece.colour == second.colour;
    }
    EXPECT_TRUE(seededByTime);
}

TEST_F(StartTest, ARestartDuringAGameShowsNoGameOver) {
    writeRecordsFile("792\n461\n50\n9999.000000\n");
    gameRunning = 1;
    scoreRecordAtStart = 10; // the running game raised the record
    rowsCompleted = 20;
    gameStartTime = time(NULL) - 20;
    EXPECT_EQ(pressStart(1), 0);
    EXPECT_TRUE(popups().empty());
    EXPECT_TRUE(sounds().empty());
    EXPECT_EQ(readRecordsFile(), "792\n461\n50\n9999.000000\n");
    EXPECT_EQ(gameRunning, 1);
}

using StartDeathTest = StartTest;

TEST_F(StartDeathTest, AFileRemovedSinceStartUpEndsTheProgramAfterItsMessage) {
    fake::ui.presentFiles.erase(FULL_ROW_SOUND);
    fake::ui.onPopup = [](const std::string &title, const std::string &message) {
        std::fprintf(stderr, "popup %s: %s\n", title.c_str(), message.c_str());
    };
    EXPECT_EXIT(pressStart(1), ::testing::ExitedWithCode(0),
                "popup Error: Missing sound file 2\\.");
}

} // namespace
