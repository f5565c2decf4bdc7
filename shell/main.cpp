// The program's entry: from process start to the idle main panel, then the event loop.
#include "game_sounds.h"
#include "game_state.h"
#include "install_check.h"
#include "records_file.h"
#include "stakko.h"

int main(int, char *argv[]) {
    if (checkFileIntegrity() == 0) {
        return 0;
    }
    if (InitCVIRTEEx(0, argv, 0) == 0) {
        return -1;
    }
    panelHandle = LoadPanel(0, "stakko.uir", PANEL);
    if (panelHandle < 0) {
        return -1;
    }
    SetCtrlAttribute(panelHandle, PANEL_TIMER, ATTR_ENABLED, 0);
    SetCtrlAttribute(panelHandle, PANEL_LED, ATTR_ON_COLOR, VAL_GREEN);
    SetCtrlAttribute(panelHandle, PANEL_LED, ATTR_OFF_COLOR, VAL_RED);
    SetCtrlVal(panelHandle, PANEL_LED, 0);
    SetCtrlAttribute(panelHandle, PANEL_PAUSE, ATTR_DIMMED, 1);
    GetCtrlAttribute(panelHandle, PANEL_PAUSE, ATTR_CMD_BUTTON_COLOR, &defaultButtonColour);
    pauseActive = 0;
    soundOn = 1;
    readCFGFile();
    displayHighScore();
    displayHighSpeed();
    SetPanelSize(panelHandle, panelHeight, panelWidth);
    DisplayPanel(panelHandle);
    RunUserInterface();
    DiscardPanel(panelHandle);
    return 0;
}
