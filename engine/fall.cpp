// The timed fall: each tick drops the piece a row or lands it; full rows score and go.
#include "fall.h"
#include "board.h"
#include "game_sounds.h"
#include "game_state.h"
#include "painting.h"
#include "pieces.h"
#include "records_file.h"
#include "stakko.h"

int rowsCompleted;
time_t gameStartTime;
float currentSpeed = 9999.0f;
double timerInterval;

const double initialInterval = 0.4;
const double intervalStep = 0.02;
const double rowsPerIntervalStep = 20.0;

void ClearRow(int row) {
    for (int r = row; r >= 2; r--) {
        for (int c = 1; c <= 10; c++) {
            board[c][r] = board[c][r - 1];
            PaintSquare(c, r, board[c][r]);
        }
    }
    // The hidden row never moves down: row 1 always empties.
    for (int c = 1; c <= 10; c++) {
        board[c][1] = 0;
        PaintSquare(c, 1, 0);
    }
}

static int rowIsFull(int row) {
    for (int c = 1; c <= 10; c++) {
        if (board[c][row] == 0) {
            return 0;
        }
    }
    return 1;
}

// Scores n rows removed by one landing and brings the record, the sound and the speed along.
static void scoreRows(int n) {
    int score = 0;
    GetCtrlVal(panelHandle, PANEL_SCORE, &score);
    score = score + 10 * n * n;
    SetCtrlVal(panelHandle, PANEL_SCORE, score);
    rowsCompleted = rowsCompleted + n;
    if (score > highScore) {
        highScore = score;
        writeCFGFile();
        displayHighScore();
    }
    playGameSound(FULL_ROW_SOUND);
    time_t t = time(NULL);
    if (t != static_cast<time_t>(-1)) {
        currentSpeed = static_cast<float>(difftime(t, gameStartTime) / rowsCompleted);
        if (rowsCompleted >= 10) {
            SetCtrlVal(panelHandle, PANEL_SPEED, static_cast<double>(currentSpeed));
        }
    }
}

void CheckRows(void) {
    int n = 0;
    // Top to bottom: a removal moves down only rows already found not full.
    for (int row = 1; row <= 20; row++) {
        if (rowIsFull(row)) {
            ClearRow(row);
            n = n + 1;
        }
    }
    if (n > 0) {
        scoreRows(n);
    }
    timerInterval = initialInterval - (rowsCompleted / rowsPerIntervalStep) * intervalStep;
    SetCtrlAttribute(panelHandle, PANEL_TIMER, ATTR_INTERVAL, timerInterval);
}

extern "C" int CVICALLBACK TimerCallback(int, int, int event, void *, int, int) {
    if (event != EVENT_TIMER_TICK) {
        return 0;
    }
    Piece trial = currentPiece;
    trial.row = trial.row + 1;
    if (CheckCollision(trial) == 1) {
        AddArray(currentPiece);
        CheckRows();
        NewPiece();
    } else {
        PaintPiece(currentPiece, 0);
        currentPiece.row = currentPiece.row + 1;
        PaintPiece(currentPiece, 1);
    }
    return 0;
}
