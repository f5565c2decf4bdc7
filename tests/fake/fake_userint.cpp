// The recording fake of the run-time and of the platform sound call.
#include <cstdarg>
#include <cstdio>

#include "fake_ui.h"
#include "installed_files.h"
#include "playsnd.h"
#include "userint.h"

namespace fake {

State ui;

static void installAllFiles() {
    for (const char *colour : {"blank", "red", "green", "blue", "cyan", "yellow", "magenta"}) {
        ui.presentFiles.insert(std::string("Images" DIR_SEP "KIVO_Stakko_Game_") + colour + ".bmp");
    }
    for (const char *path : {GAME_OVER_SOUND, FULL_ROW_SOUND, SCORE_RECORD_SOUND,
                             SPEED_RECORD_SOUND, PROGRAM_FILE, "stakko.uir", RUNTIME_STYLE_FILE,
                             RUNTIME_FONT_FILE, RUNTIME_BOLD_FONT_FILE, RUNTIME_RESOURCE_FILE}) {
        ui.presentFiles.insert(path);
    }
}

void reset() {
    ui = State();
    installAllFiles();
}

std::vector<std::string> callsStartingWith(const std::string &prefix) {
    std::vector<std::string> found;
    for (const std::string &call : ui.log) {
        if (call.compare(0, prefix.size(), prefix) == 0) {
            found.push_back(call);
        }
    }
    return found;
}

int find(const std::string &call, int from) {
    for (size_t i = static_cast<size_t>(from); i < ui.log.size(); i++) {
        if (ui.log[i] == call) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

double attribute(int control, int attr) {
    return ui.attributes[{control, attr}];
}

} // namespace fake

using fake::ui;

static void record(const char *format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    ui.log.emplace_back(buffer);
    if (ui.onCall) {
        ui.onCall(std::string(buffer));
    }
}

static const char *orNull(const char *text) {
    return text ? text : "null";
}

int InitCVIRTEEx(void *, char *[], void *) {
    record("InitCVIRTEEx()");
    return ui.initResult;
}

int RunUserInterface(void) {
    record("RunUserInterface()");
    if (ui.onRun) {
        ui.onRun();
    }
    return 0;
}

int QuitUserInterface(int code) {
    record("QuitUserInterface(%d)", code);
    return 0;
}

int LoadPanel(int parent, const char *fileName, int id) {
    record("LoadPanel(%d, %s, %d)", parent, fileName, id);
    return ui.loadResult;
}

int DisplayPanel(int panel) {
    record("DisplayPanel(%d)", panel);
    return 0;
}

int DiscardPanel(int panel) {
    record("DiscardPanel(%d)", panel);
    return 0;
}

int SetPanelSize(int panel, int height, int width) {
    record("SetPanelSize(%d, %d, %d)", panel, height, width);
    ui.panelHeight = height;
    ui.panelWidth = width;
    return 0;
}

int GetPanelAttribute(int panel, int attr, int *value) {
    record("GetPanelAttribute(%d, %d)", panel, attr);
    *value = attr == ATTR_HEIGHT ? ui.panelHeight : ui.panelWidth;
    return 0;
}

int SetCtrlVal(int panel, int control, int value) {
    record("SetCtrlVal(%d, %d, %d)", panel, control, value);
    ui.values[control] = value;
    return 0;
}

int SetCtrlVal(int panel, int control, double value) {
    record("SetCtrlVal(%d, %d, %g)", panel, control, value);
    ui.values[control] = value;
    return 0;
}

int GetCtrlVal(int panel, int control, int *value) {
    record("GetCtrlVal(%d, %d)", panel, control);
    *value = static_cast<int>(ui.values[control]);
    return 0;
}

int SetCtrlAttribute(int panel, int control, int attr, int value) {
    record("SetCtrlAttribute(%d, %d, %d, %d)", panel, control, attr, value);
    ui.attributes[{control, attr}] = value;
    return 0;
}

int SetCtrlAttribute(int panel, int control, int attr, double value) {
    record("SetCtrlAttribute(%d, %d, %d, %g)", panel, control, attr, value);
    ui.attributes[{control, attr}] = value;
    return 0;
}

int GetCtrlAttribute(int panel, int control, int attr, int *value) {
    record("GetCtrlAttribute(%d, %d, %d)", panel, control, attr);
    *value = static_cast<int>(ui.attributes[{control, attr}]);
    return 0;
}

int SetActiveCtrl(int panel, int control) {
    record("SetActiveCtrl(%d, %d)", panel, control);
    return 0;
}

int ResetTextBox(int panel, int control, const char *text) {
    record("ResetTextBox(%d, %d, %s)", panel, control, text);
    ui.texts[control] = text;
    return 0;
}

int GetBitmapFromFile(const char *fileName, int *bitmapId) {
    record("GetBitmapFromFile(%s)", fileName);
    if (!ui.presentFiles.count(fileName) || ui.unreadableImages.count(fileName)) {
        return -1;
    }
    *bitmapId = ui.nextBitmap++;
    ui.bitmapFiles[*bitmapId] = fileName;
    return 0;
}

int PlotBitmap(int panel, int control, double x, double y, double width, double height,
               const char *fileName) {
    record("PlotBitmap(%d, %d, %g, %g, %g, %g, %s)", panel, control, x, y, width, height,
           orNull(fileName));
    if (ui.plotFailures > 0) {
        ui.plotFailures--;
        return -1;
    }
    int handle = ++ui.nextPlot[control];
    ui.plots[control][handle] = fake::Plot{x, y, width, height, 0};
    return handle;
}

int SetCtrlBitmap(int panel, int control, int plot, int bitmap) {
    record("SetCtrlBitmap(%d, %d, %d, %d)", panel, control, plot, bitmap);
    auto found = ui.plots[control].find(plot);
    if (found == ui.plots[control].end()) {
        return -1;
    }
    found->second.bitmap = bitmap;
    return 0;
}

int DeleteGraphPlot(int panel, int control, int plot, int refresh) {
    record("DeleteGraphPlot(%d, %d, %d, %d)", panel, control, plot, refresh);
    if (plot == -1) {
        ui.plots[control].clear();
        return 0;
    }
    return ui.plots[control].erase(plot) == 1 ? 0 : -1;
}

int MessagePopup(const char *title, const char *message) {
    record("MessagePopup(%s, %s)", title, message);
    if (ui.onPopup) {
        ui.onPopup(title, message);
    }
    return 0;
}

int GenericMessagePopup(const char *title, const char *message, const char *button1,
                        const char *button2, const char *button3, char *response, int maxLength,
                        int alignment, int active, int enter, int escape) {
    record("GenericMessagePopup(%s, %s, %s, %s, %s, %s, %d, %d, %d, %d, %d)", title, message,
           orNull(button1), orNull(button2), orNull(button3), response ? "buffer" : "null",
           maxLength, alignment, active, enter, escape);
    if (ui.onPopup) {
        ui.onPopup(title, message);
    }
    if (ui.answers.empty()) {
        return 2;
    }
    int answer = ui.answers.front();
    ui.answers.pop_front();
    return answer;
}

int LaunchExecutable(const char *commandLine) {
    record("LaunchExecutable(%s)", commandLine);
    return 0;
}

int CVI_GetFileSize(const char *fileName, long *size) {
    record("CVI_GetFileSize(%s)", fileName);
    auto error = ui.fileSizeErrors.find(fileName);
    if (error != ui.fileSizeErrors.end()) {
        return error->second;
    }
    if (!ui.presentFiles.count(fileName)) {
        return -1;
    }
    *size = 1234;
    return 0;
}

int GetBreakOnLibraryErrors(void) {
    return ui.breakOnLibraryErrors;
}

int EnableBreakOnLibraryErrors(void) {
    record("EnableBreakOnLibraryErrors()");
    int previous = ui.breakOnLibraryErrors;
    ui.breakOnLibraryErrors = 1;
    return previous;
}

int DisableBreakOnLibraryErrors(void) {
    record("DisableBreakOnLibraryErrors()");
    int previous = ui.breakOnLibraryErrors;
    ui.breakOnLibraryErrors = 0;
    return previous;
}

int ProcessDrawEvents(void) {
    record("ProcessDrawEvents()");
    return 0;
}

int sndPlaySoundA(const char *fileName, unsigned int flags) {
    record("sndPlaySoundA(%s, %u)", orNull(fileName), flags);
    return 1;
}
