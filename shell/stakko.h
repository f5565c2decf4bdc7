// The main panel of "stakko.uir": its resource id, the ids of the controls that the game
// refers to, and the callbacks that the resource binds by name.
#pragma once

#include "userint.h"

enum {
    PANEL = 1,
    PANEL_NEXT = 2,
    PANEL_SPEED = 3,
    PANEL_SCORE = 4,
    PANEL_PAUSE = 5,
    PANEL_SOUND = 6,
    PANEL_START = 8,
    PANEL_BOARD = 10,
    PANEL_LED = 11,
    PANEL_HIGHSPEED = 12,
    PANEL_HIGHSCORE = 13,
    PANEL_TIMER = 15,
};

extern "C" {
int CVICALLBACK MainCallBk(int panel, int event, void *callbackData, int eventData1,
                           int eventData2);
int CVICALLBACK TimerCallback(int panel, int control, int event, void *callbackData, int eventData1,
                              int eventData2);
int CVICALLBACK Start(int panel, int control, int event, void *callbackData, int eventData1,
                      int eventData2);
int CVICALLBACK pauseGame(int panel, int control, int event, void *callbackData, int eventData1,
                          int eventData2);
int CVICALLBACK noSound(int panel, int control, int event, void *callbackData, int eventData1,
                        int eventData2);
int CVICALLBACK Help(int panel, int control, int event, void *callbackData, int eventData1,
                     int eventData2);
int CVICALLBACK QuitCallback(int panel, int control, int event, void *callbackData, int eventData1,
                             int eventData2);
int CVICALLBACK goOnline(int panel, int control, int event, void *callbackData, int eventData1,
                         int eventData2);
}
