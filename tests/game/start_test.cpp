// The Start command confirmed: the per-game reset and the first piece, or the end of the
// program when a file has gone since start-up.
#include "game_fixture.h"

#include <cstdio>

static const std::string startQuestion = "GenericMessagePopup(Message, Do you want to start a "
                                         "new game now?, __Yes, __No, null, null, 0, 0, 2, 2, 0)";

using StartTest = RunningGameTest;

TEST_F(StartTest, ConfirmingResetsTheGameAndBringsTheFirstPiece) {
    writeRecordsFile("700\n420\n80\n6.000000\n");
    std::fill(&board[0][0], &board[0][0] + sizeof board / sizeof(int), 3);
    std::fill(&cellPlots[0][0], &cellPlots[0][0] + sizeof cellPlots / sizeof(int), 5); // old plots
    rowsCompleted = 37;
    time_t before = time(NULL);
    EXPECT_EQ(pressStart(1), 0);
    time_t after = time(NULL);
    const std::string steps[] = {"SetCtrlAttribute(1, 15, 1271, 0)",
                                 startQuestion,
                                 "GetBitmapFromFile(" IMAGE_FILE("blank") ")",
                                 "SetCtrlAttribute(1, 15, 1270, 0.4)",
                                 "SetCtrlVal(1, 4, 0)",
                                 "SetCtrlVal(1, 3, 9999)",
                                 "DeleteGraphPlot(1, 10, -1, 1)",
                                 "DeleteGraphPlot(1, 2, -1, 1)",
                                 "SetCtrlAttribute(1, 15, 1271, 1)",
                                 "SetCtrlVal(1, 11, 1)",
                                 "SetCtrlAttribute(1, 5, 500, 0)",
                                 "SetActiveCtrl(1, 5)"};
    int at = -1;
    for (const std::string &step : steps) {
        int found = fake::find(step, at + 1);
        EXPECT_GT(found, at) << step;
        at = found;
    }
    // The field and the hidden row are empty, only row 21 outside the field keeps its cells; only
    // the first piece is drawn, and no plot of the last game is deleted one by one.
    EXPECT_EQ(std::count(&board[1][0], &board[0][0] + sizeof board / sizeof(int), 3), 10);
    EXPECT_EQ(calls("DeleteGraphPlot(1, 10,"), Log{"DeleteGraphPlot(1, 10, -1, 1)"});
    EXPECT_EQ(boardPlots(), piecePlots(currentPiece));
    EXPECT_EQ(scoreRecordAtStart, 80);
    EXPECT_EQ(rowsCompleted, 0);
    EXPECT_TRUE(gameStartTime >= before && gameStartTime <= after);
    // The first two pieces come from the calendar time as the seed.
    const Piece first = currentPiece, second = nextPiece;
    bool seededByTime = false;
    for (time_t t = before; t <= after; t++) {
        SetRandomSeed(static_cast<int>(t));
        setNextPiece();
        bool firstMatches = nextPiece.shape == first.shape && nextPiece.colour == first.colour;
        setNextPiece();
        seededByTime |= firstMatches && nextPiece == second;
    }
    EXPECT_TRUE(seededByTime);
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
