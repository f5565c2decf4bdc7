// The player's keys, as the panel callback receives them: which key makes which move, and
// moves that do not fit or come without a running game doing nothing at all.
#include "game_fixture.h"

static const int ctrl = VAL_MENUKEY_MODIFIER, shift = VAL_SHIFT_MODIFIER;
static const int up = VAL_UP_ARROW_VKEY, down = VAL_DOWN_ARROW_VKEY;
static const int left = VAL_LEFT_ARROW_VKEY, right = VAL_RIGHT_ARROW_VKEY;
enum GameState { idle, running, held };

using MovesTest = RunningGameTest;

TEST_F(MovesTest, EachKeyMakesItsMoveWhenItFits) {
    const Piece s{2, 5, 5, 0, 3}, line{0, 5, 1, 0, 4};
    // What, the piece, the key code, the game's state, the column, row and rotation it ends at.
    const std::tuple<const char *, Piece, int, GameState, int, int, int> cases[] = {
        {"Up turns", s, up, running, 5, 5, 1},
        {"Down moves one row", s, down, running, 5, 6, 0},
        {"Left moves toward column 10", s, left, running, 6, 5, 0},
        {"Right moves toward column 1", s, right, running, 4, 5, 0},
        {"a character in the low byte plays no part", s, left | 'a', running, 6, 5, 0},
        {"Shift with Left is Left", s, shift | left, running, 6, 5, 0},
        {"another modifier with Right is Right", s, 0x20000 | right, running, 4, 5, 0},
        {"Ctrl and Shift with Down is Down", s, ctrl | shift | down, running, 5, 6, 0},
        {"Ctrl with Down drops to the floor", line, ctrl | down, running, 5, 18, 0},
        {"Ctrl with Left does nothing", s, ctrl | left, running, 5, 5, 0},
        {"another key does nothing", s, 0x0A00, running, 5, 5, 0},
        {"Right at column 1", {0, 1, 5, 0, 1}, right, running, 1, 5, 0},
        {"Left at column 10", {0, 10, 5, 0, 1}, left, running, 10, 5, 0},
        // Pieces whose first cell stays inside while the pivot would leave the field.
        {"Left at column 10, shape 1 turned twice", {1, 10, 5, 2, 1}, left, running, 10, 5, 2},
        {"Left at column 10, shape 2 turned once", {2, 10, 5, 1, 1}, left, running, 10, 5, 1},
        {"Left at column 10, shape 5 turned thrice", {5, 10, 5, 3, 1}, left, running, 10, 5, 3},
        {"turning the line at column 9", {0, 9, 5, 0, 1}, up, running, 9, 5, 0},
        {"Down on the floor", {0, 5, 18, 0, 1}, down, running, 5, 18, 0},
        {"Ctrl Down on the floor", {0, 5, 18, 0, 1}, ctrl | down, running, 5, 18, 0},
        {"the square turns on its cells from 3 to 0", {3, 5, 5, 3, 2}, up, running, 5, 5, 0},
        {"Left without a game", s, left, idle, 5, 5, 0},
        {"Ctrl Down without a game", line, ctrl | down, idle, 5, 1, 0},
        {"Left in a held game", s, left, held, 6, 5, 0},
        {"Ctrl Down in a held game", line, ctrl | down, held, 5, 18, 0},
    };
    for (const auto &[what, piece, code, state, column, row, rotation] : cases) {
        fake::ui.plots.clear();
        std::memset(cellPlots, 0, sizeof cellPlots);
        fallingPiece(piece);
        gameRunning = state != idle;
        gamePaused = pauseActive = state == held;
        EXPECT_EQ(press(code), 0);
        const Piece expected{piece.shape, column, row, rotation, piece.colour};
        EXPECT_EQ(currentPiece, expected) << what;
        // Every step erases and paints four cells, each with the graph hidden.
        int steps = expected == piece ? 0 : std::max(1, row - piece.row);
        EXPECT_EQ(calls("SetCtrlAttribute(1, 10, 530, 0)").size(), 8u * steps) << what;
        EXPECT_EQ(boardPlots(), piecePlots(currentPiece)) << what;
    }
}
