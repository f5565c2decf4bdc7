// A whole game through the callbacks alone: Start, keys and ticks until the game is lost.
#include "game_fixture.h"

using WholeGameTest = GameTest;

// The board graph shows the fixed cells and, while the game runs, the falling piece.
static void expectTheGraphShowsTheGame() {
    CellPlots expected = gameRunning ? GameTest::piecePlots(currentPiece) : CellPlots();
    for (int c = 1; c <= 10; c++) {
        for (int r = 0; r <= 20; r++) {
            if (board[c][r] != 0) {
                expected[{c, r}] = colourBitmaps[board[c][r]];
            }
        }
    }
    ASSERT_EQ(GameTest::boardPlots(), expected);
}

TEST_F(WholeGameTest, AGameSteeredByKeysKeepsBoardGraphAndScoreInStep) {
    panelHandle = 1;
    // The game's pieces come from a fixed seed instead of the calendar time.
    fake::ui.onCall = [](const std::string &call) {
        if (call == "SetCtrlVal(1, 3, 9999)") { // the reset, right after it seeded
            SetRandomSeed(4242);
        }
    };
    ASSERT_EQ(pressStart(1), 0);
    fake::ui.onCall = nullptr;
    int expectedScore = 0, landings = 0;
    while (gameRunning && landings < 500) {
        // Spread the pieces over the board: turn, shift toward a column, drop.
        for (int t = 0; t < landings % 4; t++) {
            press(VAL_UP_ARROW_VKEY);
        }
        int target = 1 + landings * 7 % 10;
        for (int step = 0; step < 10 && currentPiece.column != target; step++) {
            press(currentPiece.column < target ? VAL_LEFT_ARROW_VKEY : VAL_RIGHT_ARROW_VKEY);
        }
        press(VAL_MENUKEY_MODIFIER | VAL_DOWN_ARROW_VKEY);
        expectTheGraphShowsTheGame();
        int rowsBefore = rowsCompleted;
        tick(); // a dropped piece lands at the next tick
        landings++;
        int n = rowsCompleted - rowsBefore;
        expectedScore += 10 * n * n;
        ASSERT_EQ(fake::ui.values[PANEL_SCORE], expectedScore);
        EXPECT_NEAR(timerInterval, 0.4 - 0.001 * rowsCompleted, 1e-9);
        expectTheGraphShowsTheGame();
    }
    EXPECT_EQ(gameRunning, 0);
    EXPECT_GT(rowsCompleted, 0) << "this seed's script completes a row";
    EXPECT_EQ(highScore, expectedScore);
    EXPECT_EQ(fake::ui.texts[PANEL_HIGHSCORE], std::to_string(expectedScore));
    ASSERT_EQ(popups().size(), 1u);
    EXPECT_NE(popups()[0].find("new Score record"), std::string::npos);
}
