// The user-interface run-time: every operation, event, attribute and key code that the game
// uses. The game talks to its panel only through this header; the Qt implementation lives
// beside it and the tests link a recording fake in its place.
#pragma once

// Events delivered to callbacks.
enum {
    EVENT_COMMIT = 1,
    EVENT_LEFT_CLICK = 3,
    EVENT_KEYPRESS = 7,
    EVENT_GOT_FOCUS = 8,
    EVENT_CLOSE = 11,
    EVENT_PANEL_SIZE = 12,
    EVENT_PANEL_MOVE = 13,
    EVENT_END_TASK = 14,
    EVENT_TIMER_TICK = 15,
};

// Control and panel attributes.
enum {
    ATTR_DIMMED = 500,           // int: 1 greys a control out so it cannot be used
    ATTR_VISIBLE = 530,          // int: 0 hides a control, 1 shows it
    ATTR_WIDTH = 533,            // int, panel: inner width in pixels
    ATTR_HEIGHT = 540,           // int, panel: inner height in pixels
    ATTR_CMD_BUTTON_COLOR = 880, // int 0xRRGGBB: a command button's colour
    ATTR_ON_COLOR = 920,         // int 0xRRGGBB: an LED's colour while lit
    ATTR_OFF_COLOR = 921,        // int 0xRRGGBB: an LED's colour while dark
    ATTR_INTERVAL = 1270,        // double: a timer's interval in seconds
    ATTR_ENABLED = 1271,         // int: 1 lets a timer tick, 0 stops it
};

// Key codes: the virtual key in bits 8 to 15, modifiers above, a character in the low byte.
enum {
    VAL_UP_ARROW_VKEY = 0x0600,
    VAL_DOWN_ARROW_VKEY = 0x0700,
    VAL_LEFT_ARROW_VKEY = 0x0800,
    VAL_RIGHT_ARROW_VKEY = 0x0900,
    VAL_VKEY_MASK = 0xFF00,
    VAL_SHIFT_MODIFIER = 0x10000,
    VAL_MENUKEY_MODIFIER = 0x40000, // Ctrl
};

// Colours as 0xRRGGBB.
enum {
    VAL_RED = 0xFF0000,
    VAL_GREEN = 0x00FF00,
};

// Callbacks are found by the names that the panel resource gives; they must have C linkage
// so that the run-time can look them up in the program.
#ifdef _WIN32
#define CVICALLBACK __declspec(dllexport) // found with GetProcAddress on the program itself
#else
#define CVICALLBACK
#endif
typedef int (*CtrlCallbackPtr)(int panel, int control, int event, void *callbackData,
                               int eventData1, int eventData2);
typedef int (*PanelCallbackPtr)(int panel, int event, void *callbackData, int eventData1,
                                int eventData2);

// Start-up and the event loop.
int InitCVIRTEEx(void *instance, char *argv[], void *reserved); // 0 = failure
int RunUserInterface(void);
int ProcessDrawEvents(void); // shows every pending change on screen now
int QuitUserInterface(int returnCode);

// Panels.
int LoadPanel(int parentPanel, const char *fileName, int panelResourceId); // < 0 = failure
int DisplayPanel(int panel);
int DiscardPanel(int panel);
int SetPanelSize(int panel, int height, int width);
int GetPanelAttribute(int panel, int attribute, int *value);

// Controls.
int SetCtrlVal(int panel, int control, int value);
int SetCtrlVal(int panel, int control, double value);
int GetCtrlVal(int panel, int control, int *value);
int SetCtrlAttribute(int panel, int control, int attribute, int value);
int SetCtrlAttribute(int panel, int control, int attribute, double value);
int GetCtrlAttribute(int panel, int control, int attribute, int *value);
int SetActiveCtrl(int panel, int control);
int ResetTextBox(int panel, int control, const char *text);

// Graphs and bitmaps. Plot coordinates are axis units.
int GetBitmapFromFile(const char *fileName, int *bitmapId); // < 0 = failure
// A plot starts without an image (the file name is always null) until SetCtrlBitmap gives it one.
int PlotBitmap(int panel, int control, double x, double y, double width, double height,
               const char *fileName); // plot handle >= 1, < 1 = failure
int SetCtrlBitmap(int panel, int control, int imageId, int bitmapId);
int DeleteGraphPlot(int panel, int control, int plotHandle, int refresh); // -1: every plot

// Pop-ups. Two underscores before a letter of a label make it the button's shortcut.
int MessagePopup(const char *title, const char *message);
int GenericMessagePopup(const char *title, const char *message, const char *button1,
                        const char *button2, const char *button3, char *responseBuffer,
                        int maxResponseLength, int buttonAlignment, int activeControl,
                        int enterButton, int escapeButton); // number of the pressed button

// Programs and files.
int LaunchExecutable(const char *commandLine);         // starts it without waiting
int CVI_GetFileSize(const char *fileName, long *size); // 0 found, -1 not found, -4 no memory
int GetBreakOnLibraryErrors(void);
int EnableBreakOnLibraryErrors(void);
int DisableBreakOnLibraryErrors(void);
