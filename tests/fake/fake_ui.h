// A recording fake of the run-time and of sndPlaySoundA, defined in the one test file that
// includes it: every call is logged as text in call order, controls keep their values, the
// answer to questions and the missing files are scripted.
#pragma once
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "playsnd.h"
#include "userint.h"

namespace fake {
struct State {
    std::vector<std::string> log;                     // "Operation(arg, arg)", in call order
    std::map<std::pair<int, int>, double> attributes; // (control, attribute) -> value; 0: value
    std::map<int, int> lastPlot;                      // graph -> last plot handle given
    std::map<std::string, int> missing;               // path -> code of its size query
    int answer = 2, nextBitmap = 100, breakOnErrors = 1, initResult = 1, loadResult = 1;
    int plotFailures = 0, height = 0, width = 0; // the next plots that fail; the panel's size
    std::function<void()> onRun = [] {};          // what happens inside the event loop
} ui;
inline std::string text(int value) { return std::to_string(value); }
inline std::string text(const char *value) { return value ? value : "null"; }
inline std::string text(double value) {
    char buffer[40];
    return snprintf(buffer, sizeof buffer, "%.10g", value), buffer;
}
template <typename... Args> int record(const char *name, Args... args) {
    std::string call = std::string(name) + "(", separator;
    ((call += separator + text(args), separator = ", "), ...);
    return ui.log.push_back(call + ")"), 0;
}
inline double &at(int control, int attribute) { return ui.attributes[{control, attribute}]; }
} // namespace fake
using fake::at, fake::record, fake::ui;

int InitCVIRTEEx(void *, char *[], void *) { return record("InitCVIRTEEx"), ui.initResult; }
int RunUserInterface(void) { return record("RunUserInterface"), ui.onRun(), 0; }
int ProcessDrawEvents(void) { return record("ProcessDrawEvents"); }
int QuitUserInterface(int code) { return record("QuitUserInterface", code); }
int LoadPanel(int p, const char *f, int n) { return record("LoadPanel", p, f, n), ui.loadResult; }
int DisplayPanel(int p) { return record("DisplayPanel", p); }
int DiscardPanel(int p) { return record("DiscardPanel", p); }
int SetPanelSize(int p, int h, int w) { return record("SetPanelSize", p, h, w); }
int GetPanelAttribute(int p, int a, int *v) {
    return *v = a == ATTR_HEIGHT ? ui.height : ui.width, record("GetPanelAttribute", p, a);
}
int SetCtrlAttribute(int p, int c, int a, double v) {
    return at(c, a) = v, record("SetCtrlAttribute", p, c, a, v);
}
int SetCtrlAttribute(int p, int c, int a, int v) { return SetCtrlAttribute(p, c, a, 1.0 * v); }
int GetCtrlAttribute(int p, int c, int a, int *v) {
    return *v = int(at(c, a)), record("GetCtrlAttribute", p, c, a);
}
int SetCtrlVal(int p, int c, double v) { return at(c, 0) = v, record("SetCtrlVal", p, c, v); }
int SetCtrlVal(int p, int c, int v) { return SetCtrlVal(p, c, 1.0 * v); }
int GetCtrlVal(int p, int c, int *v) { return *v = int(at(c, 0)), record("GetCtrlVal", p, c); }
int SetActiveCtrl(int p, int c) { return record("SetActiveCtrl", p, c); }
int ResetTextBox(int p, int c, const char *t) { return record("ResetTextBox", p, c, t); }
int GetBitmapFromFile(const char *f, int *id) {
    return record("GetBitmapFromFile", f), ui.missing.count(f) ? -1 : (*id = ui.nextBitmap++, 0);
}
int PlotBitmap(int p, int g, double x, double y, double w, double h, const char *f) {
    record("PlotBitmap", p, g, x, y, w, h, f);
    return ui.plotFailures > 0 ? (ui.plotFailures--, -1) : ++ui.lastPlot[g];
}
int SetCtrlBitmap(int p, int g, int n, int id) { return record("SetCtrlBitmap", p, g, n, id); }
int DeleteGraphPlot(int p, int g, int n, int r) { return record("DeleteGraphPlot", p, g, n, r); }
int MessagePopup(const char *title, const char *m) { return record("MessagePopup", title, m); }
int GenericMessagePopup(const char *title, const char *m, const char *b1, const char *b2,
                        const char *b3, char *r, int n, int al, int on, int en, int es) {
    return record("GenericMessagePopup", title, m, b1, b2, b3, r, n, al, on, en, es), ui.answer;
}
int LaunchExecutable(const char *command) { return record("LaunchExecutable", command); }
int CVI_GetFileSize(const char *f, long *size) {
    return record("CVI_GetFileSize", f), ui.missing.count(f) ? ui.missing[f] : (*size = 1234, 0);
}
int GetBreakOnLibraryErrors(void) { return ui.breakOnErrors; }
int EnableBreakOnLibraryErrors(void) { return record("EnableBreak"), ui.breakOnErrors = 1; }
int DisableBreakOnLibraryErrors(void) { return record("DisableBreak"), ui.breakOnErrors = 0; }
int sndPlaySoundA(const char *f, unsigned int s) { return record("sndPlaySoundA", f, int(s)), 1; }
