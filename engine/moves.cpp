// The player's moves: each is tried on a copy of the piece and made only when it fits.
#include "moves.h"
#include "board.h"
#include "game_state.h"
#include "painting.h"
#include "userint.h"

// Erases the piece, moves it to the trial place and paints it there, when the trial fits.
static int tryMove(const Piece &trial) {
    if (CheckCollision(trial) != 0) {
        return 0;
    }
    PaintPiece(currentPiece, 0);
    currentPiece = trial;
    PaintPiece(currentPiece, 1);
    return 1;
}

static void dropStraightDown(void) {
    for (int step = 0; step < 21; step++) {
        Piece trial = currentPiece;
        trial.row = trial.row + 1;
        if (!tryMove(trial)) {
            return;
        }
    }
}

void MoveByKey(int keyCode) {
    int virtualKey = keyCode & VAL_VKEY_MASK;
    if ((keyCode & VAL_MENUKEY_MODIFIER) && !(keyCode & VAL_SHIFT_MODIFIER) && virtualKey != 0) {
        if (virtualKey == VAL_DOWN_ARROW_VKEY && gameRunning == 1) {
            dropStraightDown();
        }
        return;
    }
    if (gameRunning != 1) {
        return;
    }
    Piece trial = currentPiece;
    switch (virtualKey) {
    case VAL_UP_ARROW_VKEY:
        trial.rotation = currentPiece.rotation == 3 ? 0 : currentPiece.rotation + 1;
        break;
    case VAL_DOWN_ARROW_VKEY:
        trial.row = currentPiece.row + 1;
        break;
    case VAL_LEFT_ARROW_VKEY:
        trial.column = currentPiece.column + 1;
        break;
    case VAL_RIGHT_ARROW_VKEY:
        trial.column = currentPiece.column - 1;
        break;
    default:
        return;
    }
    tryMove(trial);
}
