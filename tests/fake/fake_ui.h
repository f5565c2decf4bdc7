// A recording fake of the run-time: every call the game makes is logged in order, controls
// keep the values set on them, and pop-up answers and file presence are scripted by the test.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace fake {

struct Plot {
    double x, y, width, height;
    int bitmap;
};

struct State {
    std::vector<std::string> log;                     // "Operation(arg, arg, ...)", in call order
    std::map<int, double> values;                     // control -> value last set
    std::map<std::pair<int, int>, double> attributes; // (control, attribute) -> value
    std::map<int, std::string> texts;                 // text box -> text
    std::map<int, std::map<int, Plot>> plots;         // graph -> plot handle -> plot
    std::map<int, int> nextPlot;                      // graph -> next plot handle
    std::map<int, std::string> bitmapFiles;           // bitmap id -> file it came from
    int nextBitmap = 100;
    int panelHeight = 0, panelWidth = 0;
    int breakOnLibraryErrors = 1;

    // Scripted behaviour.
    std::set<std::string> presentFiles;        // files that exist for CVI_GetFileSize
    std::set<std::string> unreadableImages;    // present but not images
    std::map<std::string, int> fileSizeErrors; // path -> CVI_GetFileSize code
    std::deque<int> answers;                   // GenericMessagePopup answers, 2 (No) when empty
    int initResult = 1;
    int loadResult = 1;
    int plotFailures = 0;        // the next n PlotBitmap calls fail
    std::function<void()> onRun; // what happens inside RunUserInterface
    std::function<void(const std::string &, const std::string &)> onPopup;
    std::function<void(const std::string &)> onCall; // after any call is logged
};

extern State ui;

// Fresh state, with every installed file present.
void reset();

// Log entries that begin with the prefix, in order.
std::vector<std::string> callsStartingWith(const std::string &prefix);
// Index of the first log entry from `from` on that equals `call`, or -1.
int find(const std::string &call, int from = 0);
double attribute(int control, int attribute);

} // namespace fake
