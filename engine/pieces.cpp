// Piece supply: the next piece, bringing it into play, and the end of a game.
#include <ctime>

#include "board.h"
#include "fall.h"
#include "game_sounds.h"
#include "game_state.h"
#include "painting.h"
#include "pieces.h"
#include "preview.h"
#include "records_file.h"
#include "stakko.h"

int scoreRecordAtStart;

void setNextPiece(void) {
    nextPiece.shape = static_cast<int>(Random(0.0, 7.0));
    nextPiece.colour = static_cast<int>(Random(1.0, 7.0));
    nextPiece.rotation = 0;
    nextPiece.column = 5;
    nextPiece.row = 1;
}

// Judges the speed of a finished game of at least ten rows against the speed record.
static void judgeSpeed(void) {
    time_t t = time(NULL);
    if (t == static_cast<time_t>(-1) || rowsCompleted < 10) {
        return;
    }
    currentSpeed = static_cast<float>(difftime(t, gameStartTime) / rowsCompleted);
    if (highSpeed > currentSpeed) {
        highSpeed = currentSpeed;
        writeCFGFile();
        displayHighSpeed();
        MessagePopup("Game Over", "You have created a new Speed record.\nSpeed is defined by "
                                  "how many seconds you complete a row.\nSpeed needs at least "
                                  "10 rows to make the everage.");
        playGameSound(SPEED_RECORD_SOUND);
    }
}

static void gameOver(void) {
    SetCtrlAttribute(panelHandle, PANEL_TIMER, ATTR_ENABLED, 0);
    SetCtrlVal(panelHandle, PANEL_LED, 0);
    SetCtrlAttribute(panelHandle, PANEL_START, ATTR_DIMMED, 0);
    gameRunning = 0;
    pauseActive = 0;
    SetCtrlAttribute(panelHandle, PANEL_PAUSE, ATTR_DIMMED, 1);
    playGameSound(GAME_OVER_SOUND);
    // Score records were written as they were set, so the file tells whether this game set one.
    readCFGFile();
    if (highScore > scoreRecordAtStart) {
        MessagePopup("Game Over", "Sorry, you have lost the game.\nBut you have created a new "
                                  "Score record.\nCongratulations!\nClick Start to start over.");
        playGameSound(SCORE_RECORD_SOUND);
    } else {
        MessagePopup("Game Over", "Sorry, you have lost the game.\nClick Start to start over.");
    }
    judgeSpeed();
}

void NewPiece(void) {
    currentPiece = nextPiece;
    setNextPiece();
    DisplayNextPiece();
    if (CheckCollision(currentPiece) == 0) {
        PaintPiece(currentPiece, 1);
        return;
    }
    gameOver();
}
