// Starting a game: the confirmation, the per-game reset and the first piece.
#include <cstdlib>
#include <ctime>

#include "board.h"
#include "fall.h"
#include "game_state.h"
#include "install_check.h"
#include "painting.h"
#include "pieces.h"
#include "records_file.h"
#include "stakko.h"

int panelHandle;
int defaultButtonColour;
int gameRunning;
int gamePaused;
int pauseActive;

int askYesNo(const char *question) {
    return GenericMessagePopup("Message", question, "__Yes", "__No", nullptr, nullptr, 0, 0, 2, 2,
                               0) == 1;
}

void Initialize(void) {
    if (checkFileIntegrity() == 0) {
        exit(0);
    }
    for (int x = 0; x <= 10; x++) {
        for (int y = 0; y <= 20; y++) {
            cellPlots[x][y] = 0;
        }
    }
    for (int c = 1; c <= 10; c++) {
        for (int r = 0; r <= 20; r++) {
            board[c][r] = 0;
        }
    }
    SetRandomSeed(static_cast<int>(time(NULL)));
    timerInterval = initialInterval;
    SetCtrlAttribute(panelHandle, PANEL_TIMER, ATTR_INTERVAL, timerInterval);
    SetCtrlVal(panelHandle, PANEL_SCORE, 0);
    SetCtrlVal(panelHandle, PANEL_SPEED, 9999.0);
    readCFGFile();
    scoreRecordAtStart = highScore;
    gameStartTime = time(NULL);
    if (gameStartTime == static_cast<time_t>(-1)) {
        gameStartTime = 0;
    }
    currentSpeed = 9999.0f;
    rowsCompleted = 0;
}

// Lets a running game go on: the fall, the lamp and the Pause button.
static void resumeRunningGame(void) {
    SetCtrlAttribute(panelHandle, PANEL_TIMER, ATTR_ENABLED, 1);
    SetCtrlVal(panelHandle, PANEL_LED, 1);
    SetCtrlAttribute(panelHandle, PANEL_PAUSE, ATTR_DIMMED, 0);
}

extern "C" int CVICALLBACK Start(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    SetCtrlAttribute(panelHandle, PANEL_TIMER, ATTR_ENABLED, 0);
    if (askYesNo("Do you want to start a new game now?")) {
        Initialize();
        DeleteGraphPlot(panelHandle, PANEL_BOARD, -1, 1);
        setNextPiece();
        NewPiece();
        resumeRunningGame();
        gameRunning = 1;
        SetActiveCtrl(panelHandle, PANEL_PAUSE);
        return 0;
    }
    if (gameRunning == 1) {
        resumeRunningGame();
    }
    return 1;
}
