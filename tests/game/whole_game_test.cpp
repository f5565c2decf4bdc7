// Whole games through the callbacks alone: Start, keys and ticks until the game is lost.
#include "game_fixture.h"

#include "board.h"
#include "fall.h"
#include "game_state.h"
#include "pieces.h"
#include "records_file.h"
#include "stakko.h"

namespace {

class WholeGameTest : public GameTest {
  protected:
    // Starts a game whose pieces come from a fixed seed instead of the calendar time.
    static void startSeededGame(int seed) {
        panelHandle = 1;
        fake::ui.onCall = [seed](const std::string &call) {
            if (call == "SetCtrlVal(1, 3, 9999)") { // the reset, right after it seeded
                SetRandomSeed(seed);
            }
        };
        fake::ui.answers.push_back(1);
        ASSERT_EQ(Start(1, PANEL_START, EVENT_COMMIT, nullptr, 0, 0), 0);
        fake::ui.onCall = nullptr;
    }

    static void press(int key) { EXPECT_EQ(MainCallBk(1, EVENT_KEYPRESS, nullptr, key, 0), 0); }

    // One tick; true when the piece landed at it.
    static bool tick() {
        Piece trial = currentPiece;
        trial.row++;
        bool lands = CheckCollision(trial) != 0;
        EXPECT_EQ(TimerCallback(1, PANEL_TIMER, EVENT_TIMER_TICK, nullptr, 0, 0), 0);
        return lands;
    }

    // The board graph shows the fixed cells and, while the game runs, the falling piece.
    static void expectTheGraphShowsTheGame() {
        CellPlots expected = gameRunning ? piecePlots(currentPiece) : CellPlots();
        for (int c = 1; c <= 10; c++) {
            for (int r = 0; r <= 20; r++) {
                if (board[c][r] != 0) {
                    expected[{c, r}] = colourBitmaps[board[c][r]];
                }
            }
        }
        ASSERT_EQ(boardPlots(), expected);
    }
};

TEST_F(WholeGameTest, APieceLeftToFallEndsTheGameWithThePlainMessage) {
    startSeededGame(1234);
    int ticks = 0;
    while (gameRunning && ticks++ < 2000) {
        tick();
        expectTheGraphShowsTheGame();
    }
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(fake::attribute(PANEL_TIMER, ATTR_ENABLED), 0);
    EXPECT_EQ(fake::ui.values[PANEL_LED], 0);
    EXPECT_EQ(fake::attribute(PANEL_PAUSE, ATTR_DIMMED), 1);
    EXPECT_EQ(fake::attribute(PANEL_START, ATTR_DIMMED), 0);
    EXPECT_EQ(popups(), std::vector<std::string>{"MessagePopup(Game Over, Sorry, you have lost the "
                                                 "game.\nClick Start to start over.)"});
    EXPECT_EQ(readRecordsFile(), "");
}

TEST_F(WholeGameTest, AGameSteeredByKeysKeepsBoardGraphAndScoreInStep) {
    startSeededGame(4242);
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
        while (gameRunning && !tick()) {
        }
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
    EXPECT_EQ(fake::attribute(PANEL_TIMER, ATTR_ENABLED), 0);
    ASSERT_EQ(popups().size(), 1u);
    EXPECT_NE(popups()[0].find("new Score record"), std::string::npos);
}

} // namespace
