// The run-time's platform-free core: the panels and controls that the game holds by number and
// the rules every platform shares; and, in namespace be, the few things each platform's back
// end does for it: draw, load the form, show pop-ups and deliver input.
#pragma once

#include "userint.h"

#include <map>
#include <string>

namespace rt {

// Negative results of the run-time's operations.
enum {
    ERR_FILE_NOT_FOUND = -1, // CVI_GetFileSize: the file or a folder on its path is missing
    ERR_OUT_OF_MEMORY = -4,  // CVI_GetFileSize: no memory
    ERR_FILE_OTHER = -5,     // CVI_GetFileSize: any other failure
    ERR_PANEL_FILE = -10,    // the form cannot be read, or is not the asked panel
    ERR_CALLBACK = -13,      // a callback name that the program does not have
    ERR_BAD_HANDLE = -20,    // no such panel, control, plot or bitmap
    ERR_BAD_ATTRIBUTE = -22, // the attribute or value does not apply to that control
    ERR_IMAGE = -32,         // the image file is missing or cannot be read
    ERR_LAUNCH = -40,        // the program could not be started
};

enum Kind { BUTTON, NUMERIC, TEXT, PICTURE, LED, GRAPH, TIMER };

// The keys the game tells apart; every other key is passed as its character.
enum Key { KEY_OTHER, KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT };

struct Plot {
    double x, y, width, height; // axis units; (x, y) is the lower left corner
    int bitmap;                 // 0: none yet
};

struct Control {
    Kind kind = PICTURE;
    void *widget = nullptr; // the back end's own
    std::string callbackName;
    CtrlCallbackPtr callback = nullptr;
    double value = 0;
    bool dimmed = false, visible = true;
    int colour = 0;                                    // button; as loaded until set
    int onColour = 0xFF0000, offColour = 0x400000;     // LED
    double interval = 1.0;                             // timer, seconds
    bool enabled = true, inTick = false;               // timer
    double xMin = 0, xMax = 100, yMin = 0, yMax = 100; // graph axes
    std::map<int, Plot> plots;                         // graph, drawn in handle order
    int lastPlot = 0;
};

struct Panel {
    void *window = nullptr; // the back end's own
    std::string callbackName;
    PanelCallbackPtr callback = nullptr;
    int closeCtrl = 0; // the control whose commit the close box makes; 0: none
    std::map<int, Control> controls;
    int setHeight = 0, setWidth = 0; // the size the program gave last; 0 once the player resized
};

Panel *panel(int handle);
Control *control(int panel, int control);
void *bitmap(int id);                           // the back end's image, null for none
void *programFunction(const std::string &name); // a function the program exports, or null

// Reports a failing operation on stderr while break-on-library-errors is on; returns code.
int fail(const char *operation, int code);

// What the back end delivers; the core decides which callback gets it, if any.
void keyPressed(int panel, int keyCode);
void committed(int panel, int control);
void leftClicked(int panel, int control, int y, int x);
void closeBoxPressed(int panel);
void resized(int panel, int height, int width);
void timerFired(int panel, int control);

// A graph's axis range laid out in a widget of the given pixels: the largest whole-pixel cell
// that shows all of it, centred, so that cells neither overlap nor leave a gap; x grows to the
// right and y upward. Right and bottom lie just outside.
struct Box {
    int left, top, right, bottom;
};
Box graphAxes(const Control &graph, int width, int height, double *unit);
Box plotBox(const Control &graph, const Box &axes, double unit, const Plot &plot);

int keyCode(Key key, int character, bool ctrl, bool shift);
int timerPeriodMs(const Control &timer);
// A pop-up button's label with "__X" as the platform's "&X" shortcut mark.
std::string buttonText(const char *label);

} // namespace rt

namespace be {

bool init(); // the platform and the run-time's own files
int run();
void quit(int code);
void drawNow();

// Fills the panel's window and controls (kind, widget, callback name, first state) from the
// form; false, with nothing left behind, for a form that cannot be read or is another panel.
bool loadPanel(const char *fileName, int resourceId, rt::Panel *panel);
void bindPanel(rt::Panel *panel, int handle); // the handle its input is delivered with
void discardPanel(rt::Panel *panel);
void showPanel(rt::Panel *panel, bool fitted); // fitted: placed at the top of the room
void boundSize(const rt::Panel *panel, int *height, int *width); // to what the window can take
void resizePanel(rt::Panel *panel, int height, int width);
void panelSize(const rt::Panel *panel, int *height, int *width);
void room(const rt::Panel *panel, int *height, int *width); // the most the screen shows

// Shows a change of the control's value (attribute 0) or of one attribute.
void apply(rt::Control *control, int attribute);
void setText(rt::Control *control, const char *text);
void focus(rt::Control *control);
void graphChanged(rt::Control *graph, const rt::Plot *plot); // null: all plots

void *loadImage(const char *fileName); // null when missing or unreadable
void message(const char *title, const char *text);
// Buttons are numbered from 1; enter, escape and active name one, or 0 for none.
int ask(const char *title, const char *text, const std::string *labels, int count, int enter,
        int escape, int active);
bool launch(const char *commandLine);

} // namespace be
