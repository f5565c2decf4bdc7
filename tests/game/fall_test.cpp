// The timed fall: a tick drops or lands the piece; full rows go, score, record, speed and the
// timer's interval follow.
#include "game_fixture.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "board.h"
#include "fall.h"
#include "game_sounds.h"
#include "game_state.h"
#include "moves.h"
#include "painting.h"
#include "pieces.h"
#include "records_file.h"
#include "stakko.h"

namespace {

class FallTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        startRunningGame();
        SetRandomSeed(2024);
        setNextPiece();
        fake::ui.values[PANEL_SCORE] = 0;
        fake::ui.values[PANEL_SPEED] = 9999.0;
        gameStartTime = time(NULL);
    }

    static int tick() { return TimerCallback(1, PANEL_TIMER, EVENT_TIMER_TICK, nullptr, 0, 0); }
    static size_t count(const std::string &call) { return fake::callsStartingWith(call).size(); }
};

// An upright line in column 5 whose four cells fill rows 17 to 20 when it lands.
const Piece lineOverRows17To20{0, 5, 18, 0, 6};

TEST_F(FallTest, ATickDropsThePieceOneRow) {
    fallingPiece(Piece{2, 6, 4, 1, 3});
    EXPECT_EQ(tick(), 0);
    EXPECT_EQ(currentPiece.row, 5);
    EXPECT_EQ(boardPlots(), piecePlots(currentPiece));
    EXPECT_EQ(count("SetCtrlAttribute(1, 10, 530, 0)"), 8u); // erase four, paint four
    EXPECT_TRUE(std::all_of(&board[0][0], &board[0][0] + sizeof board / sizeof(int),
                            [](int cell) { return cell == 0; }));
}

TEST_F(FallTest, APieceLandsOnlyAtATickAndTheNextOneEnters) {
    fallingPiece(Piece{3, 5, 19, 0, 2}); // the square resting on the floor
    MoveByKey(VAL_DOWN_ARROW_VKEY);
    EXPECT_EQ(board[5][20], 0); // resting is not landing
    Piece entering = nextPiece;
    tick();
    for (const auto &[c, r] : pieceCells(Piece{3, 5, 19, 0, 2})) {
        EXPECT_EQ(board[c][r], 2);
    }
    EXPECT_EQ(currentPiece.shape, entering.shape);
    EXPECT_EQ(currentPiece.row, 1);
    EXPECT_EQ(boardPlots().size(), 8u);
}

TEST_F(FallTest, APieceMovedOffALedgeFallsOnAtTheTick) {
    board[5][11] = 1; // the ledge under an upright line
    fallingPiece(Piece{0, 5, 8, 0, 4});
    MoveByKey(VAL_LEFT_ARROW_VKEY);
    tick();
    EXPECT_EQ(currentPiece.column, 6);
    EXPECT_EQ(currentPiece.row, 9);
    EXPECT_EQ(board[6][10], 0);
}

TEST_F(FallTest, APieceThatLandsAtTheTopFillsTheHiddenRowAndEndsTheGame) {
    for (int row = 4; row <= 20; row++) {
        board[5][row] = 1;
    }
    fallingPiece(Piece{0, 5, 1, 0, 2}); // rows 0 to 3, resting on the stack
    tick();
    EXPECT_EQ(board[5][0], 2);
    EXPECT_EQ(board[5][1], 2);
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(popups().size(), 1u);
}

TEST_F(FallTest, RowsRemovedByOneLandingScoreTenTimesTheSquare) {
    const int points[] = {0, 10, 40, 90, 160};
    for (int n = 1; n <= 4; n++) {
        std::memset(board, 0, sizeof board);
        for (int row = 21 - n; row <= 20; row++) {
            fillRow(row, 5);
        }
        fake::ui.values[PANEL_SCORE] = 7;
        rowsCompleted = 3;
        highScore = 9999;
        fallingPiece(lineOverRows17To20);
        tick();
        EXPECT_EQ(fake::ui.values[PANEL_SCORE], 7 + points[n]) << n << " rows";
        EXPECT_EQ(rowsCompleted, 3 + n) << n << " rows";
        EXPECT_EQ(sounds(), std::vector<std::string>{soundCall(FULL_ROW_SOUND)}) << n << " rows";
        // What stays of the line is the part above the removed rows, moved down to the floor.
        for (int row = 1; row <= 20; row++) {
            EXPECT_EQ(board[5][row], row > 16 + n ? 6 : 0) << n << " rows, row " << row;
        }
    }
}

TEST_F(FallTest, RowsApartAreRemovedInOneLanding) {
    fillRow(18, 5);
    fillRow(20, 5);
    board[1][19] = board[2][19] = 4;
    fallingPiece(lineOverRows17To20);
    tick();
    EXPECT_EQ(fake::ui.values[PANEL_SCORE], 40);
    EXPECT_EQ(rowsCompleted, 2);
    // The old row 19 is now the bottom row, the line's top cell above it.
    for (int c = 1; c <= 10; c++) {
        EXPECT_EQ(board[c][20], c <= 2 ? 4 : c == 5 ? 6 : 0) << c;
        EXPECT_EQ(board[c][19], c == 5 ? 6 : 0) << c;
        EXPECT_EQ(board[c][18], 0) << c;
    }
}

TEST_F(FallTest, RemovingARowRepaintsEveryCellAboveIt) {
    for (int row : {20, 7}) {
        std::memset(board, 0, sizeof board);
        std::memset(cellPlots, 0, sizeof cellPlots);
        fake::ui.plots.clear();
        board[3][row - 3] = 5;
        PaintSquare(3, row - 3, 5);
        board[7][1] = 3;
        PaintSquare(7, 1, 3);
        board[4][0] = 2; // the hidden row stays where it is
        fake::ui.log.clear();
        ClearRow(row);
        EXPECT_EQ(count("SetCtrlAttribute(1, 10, 530, 0)"), 10u * row);
        EXPECT_EQ(count("SetCtrlAttribute(1, 10, 530, 1)"), 10u * row);
        EXPECT_EQ(board[3][row - 2], 5);
        EXPECT_EQ(board[3][row - 3], 0);
        EXPECT_EQ(board[7][2], 3);
        EXPECT_EQ(boardPlots(),
                  (CellPlots{{{3, row - 2}, colourBitmaps[5]}, {{7, 2}, colourBitmaps[3]}}));
        EXPECT_EQ(board[4][0], 2);
        for (int c = 1; c <= 10; c++) {
            EXPECT_EQ(board[c][1], 0);
        }
    }
}

TEST_F(FallTest, AScoreThatPassesTheRecordIsWrittenAndShownBeforeTheSound) {
    highScore = 5;
    panelHeight = 700;
    panelWidth = 400;
    fillRow(20, 5);
    fallingPiece(lineOverRows17To20);
    tick();
    EXPECT_EQ(highScore, 10);
    EXPECT_EQ(readRecordsFile(), "700\n400\n10\n9999.000000\n");
    int shown = fake::find("ResetTextBox(1, 13, 10)");
    ASSERT_GE(shown, 0);
    EXPECT_LT(shown, fake::find(soundCall(FULL_ROW_SOUND)));

    // A later landing that only equals the record leaves the record and the file alone.
    highScore = 20;
    std::memset(board, 0, sizeof board);
    fillRow(20, 5);
    fallingPiece(lineOverRows17To20);
    tick();
    EXPECT_EQ(fake::ui.values[PANEL_SCORE], 20);
    EXPECT_EQ(readRecordsFile(), "700\n400\n10\n9999.000000\n");
    EXPECT_TRUE(fake::callsStartingWith("ResetTextBox").empty());
}

TEST_F(FallTest, TheSpeedIsShownFromTheTenthRowOn) {
    highScore = 9999;
    gameStartTime = time(NULL) - 50;
    rowsCompleted = 8;
    fillRow(20, 5);
    fallingPiece(lineOverRows17To20);
    tick();
    EXPECT_TRUE(fake::callsStartingWith("SetCtrlVal(1, 3,").empty());
    EXPECT_EQ(fake::ui.values[PANEL_SPEED], 9999.0);
    EXPECT_NEAR(currentSpeed, 50.0 / 9, 0.2);

    std::memset(board, 0, sizeof board);
    fillRow(20, 5);
    fallingPiece(lineOverRows17To20);
    tick();
    EXPECT_EQ(rowsCompleted, 10);
    EXPECT_NEAR(fake::ui.values[PANEL_SPEED], 5.0, 0.11);
    EXPECT_EQ(fake::ui.values[PANEL_SPEED], static_cast<double>(currentSpeed));
}

TEST_F(FallTest, EveryLandingSetsTheIntervalByTheRowsCompleted) {
    const struct {
        int rowsBefore;
        bool removesARow;
        double interval;
    } cases[] = {{0, false, 0.4},   {20, false, 0.38}, {100, false, 0.3},
                 {200, false, 0.2}, {19, true, 0.38},  {99, true, 0.3}};
    for (const auto &test : cases) {
        std::memset(board, 0, sizeof board);
        if (test.removesARow) {
            fillRow(20, 5);
        }
        rowsCompleted = test.rowsBefore;
        highScore = 9999;
        fallingPiece(lineOverRows17To20);
        tick();
        EXPECT_NEAR(timerInterval, test.interval, 1e-12) << test.rowsBefore;
        EXPECT_NEAR(fake::attribute(PANEL_TIMER, ATTR_INTERVAL), test.interval, 1e-12)
            << test.rowsBefore;
    }
}

TEST_F(FallTest, ALandingWithoutAFullRowChangesOnlyTheInterval) {
    rowsCompleted = 4;
    highScore = 0;
    fake::ui.values[PANEL_SCORE] = 30;
    fallingPiece(lineOverRows17To20);
    tick();
    EXPECT_EQ(rowsCompleted, 4);
    EXPECT_EQ(highScore, 0);
    EXPECT_EQ(fake::ui.values[PANEL_SCORE], 30);
    EXPECT_TRUE(fake::callsStartingWith("GetCtrlVal").empty());
    EXPECT_TRUE(fake::callsStartingWith("SetCtrlVal").empty());
    EXPECT_TRUE(fake::callsStartingWith("ResetTextBox").empty());
    EXPECT_TRUE(sounds().empty());
    EXPECT_EQ(readRecordsFile(), "");
    EXPECT_EQ(fake::callsStartingWith("SetCtrlAttribute(1, 15, 1270"),
              std::vector<std::string>{"SetCtrlAttribute(1, 15, 1270, 0.396)"});
}

TEST_F(FallTest, EventsOtherThanATickDoNothing) {
    Piece piece{0, 5, 5, 0, 1};
    fallingPiece(piece);
    for (int event = 0; event <= 30; event++) {
        if (event == EVENT_TIMER_TICK) {
            continue;
        }
        EXPECT_EQ(TimerCallback(1, PANEL_TIMER, event, nullptr, 0, 0), 0) << event;
    }
    EXPECT_TRUE(fake::ui.log.empty());
    EXPECT_EQ(currentPiece.row, piece.row);
}

} // namespace
