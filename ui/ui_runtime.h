// What the run-time's own files share: the panel registry, callback dispatch, the error report
// and the application that every operation needs.
#pragma once

#include "userint.h"

#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>
#include <map>

class QApplication;
class QImage;

namespace uirt {

// Negative results of the run-time's operations.
enum {
    ERR_PANEL_FILE = -10,    // the panel file cannot be read or is not a form
    ERR_RESOURCE_ID = -11,   // the form's root does not carry the asked id
    ERR_DUPLICATE_ID = -12,  // two controls of a form share an id
    ERR_CALLBACK = -13,      // a callback name that the program does not have
    ERR_BAD_PANEL = -20,     // no panel with that handle
    ERR_BAD_CONTROL = -21,   // no control with that id on the panel
    ERR_BAD_ATTRIBUTE = -22, // the attribute does not apply to that control
    ERR_BAD_ARGUMENT = -23,  // a null pointer or a value out of range
    ERR_WRONG_CONTROL = -24, // the operation does not apply to that kind of control
    ERR_BAD_PLOT = -30,      // no plot with that handle on the graph
    ERR_BAD_BITMAP = -31,    // no bitmap with that id
    ERR_IMAGE_MISSING = -32, // the image file is not there
    ERR_NOT_IMAGE = -33,     // the file is not an image that can be read
    ERR_LAUNCH = -40,        // the program could not be started
    ERR_FILE_NOT_FOUND = -1, // CVI_GetFileSize: the file or a folder on its path is missing
    ERR_FILE_ACCESS = -3,    // CVI_GetFileSize: permission denied
    ERR_OUT_OF_MEMORY = -4,  // CVI_GetFileSize: no memory
    ERR_FILE_OTHER = -5,     // CVI_GetFileSize: any other failure (not a file, name too long)
};

struct Control {
    QPointer<QWidget> widget;
    CtrlCallbackPtr callback = nullptr;
};

struct Panel {
    QPointer<QWidget> root;
    PanelCallbackPtr callback = nullptr;
    int closeCtrl = 0;
    std::map<int, Control> controls;
    QSize programSize;            // the size the program gave last: its echo is not the user's
    bool programResizing = false; // inside SetPanelSize
};

// The application, created on first need with the program's fixed name as its only argument.
QApplication *ensureApplication();

// Reports a failing operation on stderr while break-on-library-errors is on; returns code.
int fail(const char *operation, int code, const QString &detail);

int addPanel(const Panel &panel); // the new handle
void removePanel(int handle);
Panel *findPanel(int handle);
int panelOfWindow(const QWidget *window); // the handle of a panel's root, 0 for other windows
QWidget *popupParent();                   // the active panel window, else a shown one, else none

// Looks up a control; on failure reports it for the operation and gives the error in *error.
QWidget *findControl(const char *operation, int panel, int control, int *error);

// Calls a callback by handle and id, looked up again at the call because callbacks may
// discard panels.
void callControl(int panel, int control, int event, int eventData1, int eventData2);
void callPanel(int panel, int event, int eventData1, int eventData2);

// Routes keys, clicks, closes and resizes of a loaded panel to its callbacks.
void watchPanel(int handle);

// The key code that the callbacks get for a key press.
int keyCode(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text);

// The bitmap registry that GetBitmapFromFile fills and the graphs draw from.
const QImage *bitmapImage(int bitmapId);

} // namespace uirt
