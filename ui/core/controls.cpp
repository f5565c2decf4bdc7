// Panels, controls, plots and bitmaps as the game holds them by number: the operations on them
// and the checks that every platform shares. The back end only shows the result.
#include "rt.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::map<int, rt::Panel> panels;
int lastPanel = 0;
std::vector<void *> bitmaps; // id n is entry n - 1, kept for the whole run as the game expects

int toInt(double value) { // clamped; NaN gives INT_MAX
    return static_cast<int>(std::lround(std::fmax(INT_MIN, std::fmin(INT_MAX, value))));
}

// The control, when it is of one of the kinds the operation applies to (any, for none given);
// otherwise null, with the failure reported in *error.
rt::Control *find(const char *operation, int panel, int id, int *error,
                  std::initializer_list<rt::Kind> kinds = {}) {
    rt::Control *c = rt::control(panel, id);
    bool fits = kinds.size() == 0;
    for (rt::Kind kind : kinds)
        fits = fits || (c && c->kind == kind);
    if (!c || !fits)
        *error = rt::fail(operation, c ? rt::ERR_BAD_ATTRIBUTE : rt::ERR_BAD_HANDLE);
    return c && fits ? c : nullptr;
}

// Where the core keeps an int attribute of the control, or null when it has none such.
int *colourOf(rt::Control *c, int attribute) {
    if (attribute == ATTR_CMD_BUTTON_COLOR && c->kind == rt::BUTTON)
        return &c->colour;
    if ((attribute == ATTR_ON_COLOR || attribute == ATTR_OFF_COLOR) && c->kind == rt::LED)
        return attribute == ATTR_ON_COLOR ? &c->onColour : &c->offColour;
    return nullptr;
}

bool *flagOf(rt::Control *c, int attribute) {
    if (attribute == ATTR_ENABLED)
        return c->kind == rt::TIMER ? &c->enabled : nullptr;
    return attribute == ATTR_DIMMED    ? &c->dimmed
           : attribute == ATTR_VISIBLE ? &c->visible
                                       : nullptr;
}

int setAttribute(int panel, int id, int attribute, double value) {
    int error = 0;
    rt::Control *c = find("SetCtrlAttribute", panel, id, &error);
    if (!c)
        return error;
    if (int *colour = colourOf(c, attribute))
        *colour = toInt(value) & 0xFFFFFF;
    else if (bool *flag = flagOf(c, attribute))
        *flag = value != 0;
    else if (attribute == ATTR_INTERVAL && c->kind == rt::TIMER)
        c->interval = value;
    else
        return rt::fail("SetCtrlAttribute", rt::ERR_BAD_ATTRIBUTE);
    be::apply(c, attribute);
    return 0;
}

int setValue(int panel, int id, double value) {
    int error = 0;
    rt::Control *c = find("SetCtrlVal", panel, id, &error, {rt::NUMERIC, rt::LED});
    if (c) {
        c->value = c->kind == rt::LED ? value != 0 : value;
        be::apply(c, 0);
    }
    return c ? 0 : error;
}

} // namespace

namespace rt {

Panel *panel(int handle) {
    auto found = panels.find(handle);
    return found == panels.end() ? nullptr : &found->second;
}

Control *control(int panelHandle, int id) {
    Panel *p = panel(panelHandle);
    auto found = p ? p->controls.find(id) : std::map<int, Control>::iterator();
    return p && found != p->controls.end() ? &found->second : nullptr;
}

void *bitmap(int id) {
    return id >= 1 && id <= static_cast<int>(bitmaps.size()) ? bitmaps[id - 1] : nullptr;
}

int timerPeriodMs(const Control &timer) {
    // Shorter intervals, zero, negative and NaN ones included, tick at 20 ms: the game's pace
    // formula goes below zero in a very long game, and a busy loop would freeze the panel.
    return static_cast<int>(
        std::lround(std::fmin(std::fmax(timer.interval * 1000.0, 20.0), INT_MAX)));
}

Box graphAxes(const Control &graph, int width, int height, double *unit) {
    const double cellUnits = 10.0; // a board cell, whose pixel size is kept whole
    *unit = 0;
    if (!(graph.xMax > graph.xMin) || !(graph.yMax > graph.yMin))
        return Box{};
    const double xRange = graph.xMax - graph.xMin, yRange = graph.yMax - graph.yMin;
    *unit = std::floor(std::min(width / xRange, height / yRange) * cellUnits + 1e-9) / cellUnits;
    const int w = static_cast<int>(std::lround(xRange * *unit));
    const int h = static_cast<int>(std::lround(yRange * *unit));
    return Box{(width - w) / 2, (height - h) / 2, (width - w) / 2 + w, (height - h) / 2 + h};
}

Box plotBox(const Control &graph, const Box &axes, double unit, const Plot &plot) {
    auto x = [&](double v) {
        return axes.left + static_cast<int>(std::lround((v - graph.xMin) * unit));
    };
    auto y = [&](double v) {
        return axes.bottom - static_cast<int>(std::lround((v - graph.yMin) * unit));
    };
    return Box{x(plot.x), y(plot.y + plot.height), x(plot.x + plot.width), y(plot.y)};
}

} // namespace rt

int LoadPanel(int, const char *fileName, int panelResourceId) {
    rt::Panel p;
    if (!fileName || !be::loadPanel(fileName, panelResourceId, &p))
        return rt::fail("LoadPanel", rt::ERR_PANEL_FILE);
    bool found =
        p.callbackName.empty() ||
        (p.callback = reinterpret_cast<PanelCallbackPtr>(rt::programFunction(p.callbackName)));
    for (auto &entry : p.controls) {
        rt::Control &c = entry.second;
        found = found && (c.callbackName.empty() || (c.callback = reinterpret_cast<CtrlCallbackPtr>(
                                                         rt::programFunction(c.callbackName))));
    }
    if (!found) {
        be::discardPanel(&p);
        return rt::fail("LoadPanel", rt::ERR_CALLBACK);
    }
    rt::Panel &stored = panels[++lastPanel] = std::move(p);
    be::panelSize(&stored, &stored.setHeight, &stored.setWidth);
    be::bindPanel(&stored, lastPanel);
    return lastPanel;
}

int DisplayPanel(int panel) {
    rt::Panel *p = rt::panel(panel);
    if (!p)
        return rt::fail("DisplayPanel", rt::ERR_BAD_HANDLE);
    // A size the screen cannot show is cut down to fit, as the program's own size, not the
    // player's: the panel's bottom row of buttons must stay reachable on a small screen.
    int height, width, roomHeight, roomWidth; // all set by the back end
    be::panelSize(p, &height, &width);
    be::room(p, &roomHeight, &roomWidth);
    const bool fit = height > roomHeight || width > roomWidth;
    if (fit)
        SetPanelSize(panel, std::min(height, roomHeight), std::min(width, roomWidth));
    be::showPanel(p, fit);
    return 0;
}

int DiscardPanel(int panel) {
    rt::Panel *p = rt::panel(panel);
    if (!p)
        return rt::fail("DiscardPanel", rt::ERR_BAD_HANDLE);
    for (auto &entry : p->controls)
        if (entry.second.kind == rt::TIMER) {
            entry.second.enabled = false;
            be::apply(&entry.second, ATTR_ENABLED);
        }
    be::discardPanel(p);
    panels.erase(panel);
    return 0;
}

int SetPanelSize(int panel, int height, int width) {
    rt::Panel *p = rt::panel(panel);
    if (!p || height <= 0 || width <= 0)
        return rt::fail("SetPanelSize", p ? rt::ERR_BAD_ATTRIBUTE : rt::ERR_BAD_HANDLE);
    // Noted first, as the window may report the new size at once; and as the window will take
    // it, not below its smallest size: the window system's echo is still the program's own.
    be::boundSize(p, &height, &width);
    p->setHeight = height;
    p->setWidth = width;
    be::resizePanel(p, height, width);
    return 0;
}

int GetPanelAttribute(int panel, int attribute, int *value) {
    rt::Panel *p = rt::panel(panel);
    if (!p || !value || (attribute != ATTR_HEIGHT && attribute != ATTR_WIDTH))
        return rt::fail("GetPanelAttribute", p ? rt::ERR_BAD_ATTRIBUTE : rt::ERR_BAD_HANDLE);
    int height, width; // set by the back end
    be::panelSize(p, &height, &width);
    *value = attribute == ATTR_HEIGHT ? height : width;
    return 0;
}

int SetCtrlVal(int panel, int control, int value) {
    return setValue(panel, control, value);
}

int SetCtrlVal(int panel, int control, double value) {
    return setValue(panel, control, value);
}

int GetCtrlVal(int panel, int control, int *value) {
    int error = rt::ERR_BAD_ATTRIBUTE;
    rt::Control *c = find("GetCtrlVal", panel, control, &error, {rt::NUMERIC, rt::LED});
    if (c && value)
        *value = toInt(c->value);
    return c && value ? 0 : error;
}

int SetCtrlAttribute(int panel, int control, int attribute, int value) {
    return setAttribute(panel, control, attribute, value);
}

int SetCtrlAttribute(int panel, int control, int attribute, double value) {
    return setAttribute(panel, control, attribute, value);
}

int GetCtrlAttribute(int panel, int control, int attribute, int *value) {
    int error = rt::ERR_BAD_ATTRIBUTE;
    rt::Control *c = find("GetCtrlAttribute", panel, control, &error);
    int *colour = c ? colourOf(c, attribute) : nullptr;
    bool *flag = c ? flagOf(c, attribute) : nullptr;
    if (!value || (!colour && !flag))
        return c ? rt::fail("GetCtrlAttribute", rt::ERR_BAD_ATTRIBUTE) : error;
    *value = colour ? *colour : *flag;
    return 0;
}

int SetActiveCtrl(int panel, int control) {
    int error = 0;
    rt::Control *c = find("SetActiveCtrl", panel, control, &error);
    if (c)
        be::focus(c);
    return c ? 0 : error;
}

int ResetTextBox(int panel, int control, const char *text) {
    int error = 0;
    rt::Control *c = find("ResetTextBox", panel, control, &error, {rt::TEXT});
    if (c)
        be::setText(c, text ? text : "");
    return c ? 0 : error;
}

int GetBitmapFromFile(const char *fileName, int *bitmapId) {
    // The game fetches its images anew at every game start: a file whose bytes are unchanged
    // shares the image read before, so that a thousand games hold no more images than one.
    static std::map<std::string, std::pair<std::string, void *>> read;
    std::ifstream file(fileName ? fileName : "", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    auto &known = read[fileName ? fileName : ""];
    if (fileName && bitmapId && file && (!known.second || known.first != bytes))
        known = {bytes, be::loadImage(fileName)};
    void *image = fileName && bitmapId && file ? known.second : nullptr;
    if (!image)
        return rt::fail("GetBitmapFromFile", rt::ERR_IMAGE);
    bitmaps.push_back(image);
    *bitmapId = static_cast<int>(bitmaps.size());
    return 0;
}

int PlotBitmap(int panel, int control, double x, double y, double width, double height,
               const char *) {
    int error = 0;
    rt::Control *graph = find("PlotBitmap", panel, control, &error, {rt::GRAPH});
    if (graph && (!(width > 0) || !(height > 0)))
        error = rt::fail("PlotBitmap", rt::ERR_BAD_ATTRIBUTE);
    if (!graph || error < 0)
        return error;
    // Handles only grow: a deleted plot's handle never comes back to mean another plot.
    const rt::Plot &plot = graph->plots[++graph->lastPlot] = rt::Plot{x, y, width, height, 0};
    be::graphChanged(graph, &plot);
    return graph->lastPlot;
}

int SetCtrlBitmap(int panel, int control, int imageId, int bitmapId) {
    int error = 0;
    rt::Control *graph = find("SetCtrlBitmap", panel, control, &error, {rt::GRAPH});
    auto plot = graph ? graph->plots.find(imageId) : std::map<int, rt::Plot>::iterator();
    if (!graph || plot == graph->plots.end() || !rt::bitmap(bitmapId))
        return graph ? rt::fail("SetCtrlBitmap", rt::ERR_BAD_HANDLE) : error;
    plot->second.bitmap = bitmapId;
    be::graphChanged(graph, &plot->second);
    return 0;
}

int DeleteGraphPlot(int panel, int control, int plotHandle, int) {
    int error = 0;
    rt::Control *graph = find("DeleteGraphPlot", panel, control, &error, {rt::GRAPH});
    auto plot = graph ? graph->plots.find(plotHandle) : std::map<int, rt::Plot>::iterator();
    if (graph && plotHandle == -1) {
        graph->plots.clear();
        be::graphChanged(graph, nullptr);
        return 0;
    }
    if (!graph || plot == graph->plots.end())
        return graph ? rt::fail("DeleteGraphPlot", rt::ERR_BAD_HANDLE) : error;
    const rt::Plot gone = plot->second;
    graph->plots.erase(plot);
    be::graphChanged(graph, &gone);
    return 0;
}
