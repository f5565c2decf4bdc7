// The player's keys, as the panel callback receives them: which key makes which move, and
// moves that do not fit doing nothing at all.
#include "game_fixture.h"

#include <cstring>

#include "board.h"
#include "fall.h"
#include "game_state.h"
#include "install_check.h"
#include "painting.h"
#include "pieces.h"
#include "stakko.h"

namespace {

const int ctrl = VAL_MENUKEY_MODIFIER;
const int shift = VAL_SHIFT_MODIFIER;

class MovesTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        startRunningGame();
        SetRandomSeed(7);
        setNextPiece();
    }

    static void press(int keyCode) {
        EXPECT_EQ(MainCallBk(1, EVENT_KEYPRESS, nullptr, keyCode, 0), 0);
    }

    static int paintCalls() {
        return static_cast<int>(fake::callsStartingWith("SetCtrlAttribute(1, 10, 530, 0)").size());
    }
};

TEST_F(MovesTest, EachKeyMakesItsMove) {
    const Piece start{2, 5, 5, 0, 3};
    struct Case {
        const char *key;
        int code;
        int column, row, rotation; // where the piece ends
    } cases[] = {
        {"Up turns", VAL_UP_ARROW_VKEY, 5, 5, 1},
        {"Down moves one row", VAL_DOWN_ARROW_VKEY, 5, 6, 0},
        {"Left moves toward column 10", VAL_LEFT_ARROW_VKEY, 6, 5, 0},
        {"Right moves toward column 1", VAL_RIGHT_ARROW_VKEY, 4, 5, 0},
        {"a character in the low byte plays no part", VAL_LEFT_ARROW_VKEY | 'a', 6, 5, 0},
        {"Shift with Left is Left", shift | VAL_LEFT_ARROW_VKEY, 6, 5, 0},
        {"another modifier with Right is Right", 0x20000 | VAL_RIGHT_ARROW_VKEY, 4, 5, 0},
        {"Ctrl and Shift with Down is Down", ctrl | shift | VAL_DOWN_ARROW_VKEY, 5, 6, 0},
        {"Ctrl with Left does nothing", ctrl | VAL_LEFT_ARROW_VKEY, 5, 5, 0},
        {"Ctrl with Up does nothing", ctrl | VAL_UP_ARROW_VKEY, 5, 5, 0},
        {"Ctrl with a character does nothing", ctrl | 'x', 5, 5, 0},
        {"another key does nothing", 0x0A00, 5, 5, 0},
        {"no key does nothing", 0, 5, 5, 0},
    };
    for (const Case &test : cases) {
        fake::ui.plots.clear();
        std::memset(cellPlots, 0, sizeof cellPlots);
        fallingPiece(start);
        press(test.code);
        Piece expected{start.shape, test.column, test.row, test.rotation, start.colour};
        EXPECT_EQ(currentPiece, expected) << test.key;
        bool moved = !(expected == start);
        EXPECT_EQ(paintCalls(), moved ? 8 : 0) << test.key;
        EXPECT_EQ(boardPlots(), piecePlots(currentPiece));
    }
}

TEST_F(MovesTest, CtrlDownDropsInDrawnStepsWithoutLanding) {
    fallingPiece(Piece{0, 5, 1, 0, 4});
    press(ctrl | VAL_DOWN_ARROW_VKEY);
    EXPECT_EQ(currentPiece.row, 18);
    EXPECT_EQ(paintCalls(), 17 * 8);
    EXPECT_EQ(boardPlots(), piecePlots(currentPiece));
    EXPECT_EQ(board[5][20], 0);
    // It can still be moved, and only the next tick fixes it where it then stands.
    press(VAL_LEFT_ARROW_VKEY);
    TimerCallback(1, PANEL_TIMER, EVENT_TIMER_TICK, nullptr, 0, 0);
    for (int row = 17; row <= 20; row++) {
        EXPECT_EQ(board[6][row], 4) << row;
        EXPECT_EQ(board[5][row], 0) << row;
    }
}

TEST_F(MovesTest, WallsRefuseMovesAndTurnsWithoutPainting) {
    struct Case {
        const char *what;
        Piece piece;
        int code;
    } cases[] = {
        {"Right at column 1", {0, 1, 5, 0, 1}, VAL_RIGHT_ARROW_VKEY},
        {"Left at column 10", {0, 10, 5, 0, 1}, VAL_LEFT_ARROW_VKEY},
        {"turning the line at column 1", {0, 1, 5, 0, 1}, VAL_UP_ARROW_VKEY},
        {"turning the line at column 9", {0, 9, 5, 0, 1}, VAL_UP_ARROW_VKEY},
        {"Down on the floor", {0, 5, 18, 0, 1}, VAL_DOWN_ARROW_VKEY},
        {"Ctrl Down on the floor", {0, 5, 18, 0, 1}, ctrl | VAL_DOWN_ARROW_VKEY},
    };
    for (const Case &test : cases) {
        fake::ui.plots.clear();
        std::memset(cellPlots, 0, sizeof cellPlots);
        fallingPiece(test.piece);
        press(test.code);
        EXPECT_EQ(currentPiece, test.piece) << test.what;
        EXPECT_TRUE(fake::ui.log.empty()) << test.what;
        EXPECT_EQ(boardPlots(), piecePlots(test.piece));
    }
}

TEST_F(MovesTest, ABlockedDownDoesNothing) {
    board[5][9] = 3;
    fallingPiece(Piece{0, 5, 6, 0, 1});
    press(VAL_DOWN_ARROW_VKEY);
    EXPECT_EQ(currentPiece.row, 6);
    EXPECT_TRUE(fake::ui.log.empty());
}

TEST_F(MovesTest, TheSquareTurnsOnTheSameCellsAndRotationWrapsAround) {
    fallingPiece(Piece{3, 5, 5, 3, 2});
    press(VAL_UP_ARROW_VKEY);
    EXPECT_EQ(currentPiece.rotation, 0);
    EXPECT_EQ(paintCalls(), 8);
    EXPECT_EQ(boardPlots(), piecePlots(currentPiece));
}

TEST_F(MovesTest, NoKeyActsWithoutARunningGame) {
    const Piece piece{1, 5, 5, 0, 2};
    for (int code : {0x0600, 0x0700, 0x0800, 0x0900, ctrl | 0x0700}) {
        fallingPiece(piece);
        gameRunning = 0;
        press(code);
        EXPECT_EQ(currentPiece, piece) << code;
        EXPECT_TRUE(fake::ui.log.empty()) << code;
    }
}

TEST_F(MovesTest, KeysStillMoveThePieceWhileTheGameIsHeld) {
    gamePaused = pauseActive = 1;
    fallingPiece(Piece{5, 5, 2, 0, 6});
    press(VAL_LEFT_ARROW_VKEY);
    press(VAL_UP_ARROW_VKEY);
    press(VAL_DOWN_ARROW_VKEY);
    EXPECT_EQ(currentPiece, (Piece{5, 6, 3, 1, 6}));
    press(ctrl | VAL_DOWN_ARROW_VKEY);
    EXPECT_EQ(currentPiece.row, 19);
    EXPECT_EQ(boardPlots(), piecePlots(currentPiece));
}

TEST_F(MovesTest, ClicksAndFocusReachNoMove) {
    const Piece piece{1, 5, 5, 0, 2};
    fallingPiece(piece);
    for (int event : {EVENT_LEFT_CLICK, EVENT_GOT_FOCUS}) {
        EXPECT_EQ(MainCallBk(1, event, nullptr, VAL_DOWN_ARROW_VKEY, 0), 0);
    }
    EXPECT_EQ(currentPiece, piece);
    EXPECT_TRUE(fake::ui.log.empty());
}

} // namespace
