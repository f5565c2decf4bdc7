// The command buttons other than Start, the web icon, and the panel's own events.
#include <cstdio>

#include "game_sounds.h"
#include "game_state.h"
#include "moves.h"
#include "records_file.h"
#include "stakko.h"

const char *const helpText =
    "Goal: make a full row to score\n\nLeft arrow key: move left\nRight key: move right\nUp key: "
    "rotate\nDown key (hold): accelerated down\nCtrl + Down key: immediate down\n\nClick the foot "
    "icon \tto visit website\n"
    "Stakko \xC2\xA9 2026 the Stakko developers. Free to play and to share.";

const char *const webPage = "www.stakko.org/kivogame.html";

#ifdef _WIN32
static const char *const webOpener = "CMD /C START ";
#else
// The desktop's opener wants a full address; Windows' START took the bare host name.
static const char *const webOpener = "xdg-open https://";
#endif

static void applyHeldLook(void) {
    SetCtrlAttribute(panelHandle, PANEL_TIMER, ATTR_ENABLED, 0);
    SetCtrlVal(panelHandle, PANEL_LED, 0);
    SetCtrlAttribute(panelHandle, PANEL_START, ATTR_DIMMED, 1);
    SetCtrlAttribute(panelHandle, PANEL_PAUSE, ATTR_CMD_BUTTON_COLOR, VAL_GREEN);
}

static void applyRunningLook(void) {
    SetCtrlAttribute(panelHandle, PANEL_TIMER, ATTR_ENABLED, 1);
    SetCtrlVal(panelHandle, PANEL_LED, 1);
    SetCtrlAttribute(panelHandle, PANEL_START, ATTR_DIMMED, 0);
    SetCtrlAttribute(panelHandle, PANEL_PAUSE, ATTR_CMD_BUTTON_COLOR, defaultButtonColour);
}

extern "C" int CVICALLBACK pauseGame(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    if (gamePaused == 0) {
        applyHeldLook();
        pauseActive = 1;
    } else {
        applyRunningLook();
        pauseActive = 0;
    }
    gamePaused ^= 1;
    return 0;
}

extern "C" int CVICALLBACK noSound(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    SetCtrlAttribute(panelHandle, PANEL_SOUND, ATTR_CMD_BUTTON_COLOR,
                     soundOn == 1 ? VAL_RED : defaultButtonColour);
    soundOn ^= 1;
    return 0;
}

void messageHelp(void) {
    MessagePopup("Help", helpText);
}

extern "C" int CVICALLBACK Help(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    if (pauseActive == 1) {
        messageHelp();
    } else if (gameRunning != 0) {
        applyHeldLook();
        messageHelp();
        applyRunningLook();
    } else {
        messageHelp();
    }
    return 0;
}

int quitOrNot(void) {
    SetCtrlAttribute(panelHandle, PANEL_TIMER, ATTR_ENABLED, 0);
    if (askYesNo("Do you quit the game now?")) {
        gameRunning = 0;
        return 1;
    }
    if (gameRunning == 1 && pauseActive == 0) {
        SetCtrlAttribute(panelHandle, PANEL_TIMER, ATTR_ENABLED, 1);
    }
    return 0;
}

extern "C" int CVICALLBACK QuitCallback(int, int, int event, void *, int, int) {
    if (event != EVENT_COMMIT) {
        return 0;
    }
    if (quitOrNot() == 1) {
        QuitUserInterface(0);
    }
    return 0;
}

extern "C" int CVICALLBACK goOnline(int, int, int event, void *, int, int) {
    if (event != EVENT_LEFT_CLICK) {
        return 0;
    }
    char command[260];
    snprintf(command, sizeof command, "%s%s", webOpener, webPage);
    LaunchExecutable(command);
    return 0;
}

extern "C" int CVICALLBACK MainCallBk(int, int event, void *, int eventData1, int) {
    if (event == EVENT_LEFT_CLICK || event == EVENT_GOT_FOCUS) {
        return 0;
    }
    if (event == EVENT_PANEL_SIZE) {
        GetPanelAttribute(panelHandle, ATTR_HEIGHT, &panelHeight);
        GetPanelAttribute(panelHandle, ATTR_WIDTH, &panelWidth);
        writeCFGFile();
        return 0;
    }
    MoveByKey(eventData1);
    return 0;
}
