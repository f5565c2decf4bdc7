// Panels, controls, plots and bitmaps as the game holds them by number: the operations on them
// and the checks that every platform shares. The back end only shows the result.
#include "rt.h"

#include <climits>
#include <cmath>
#include <vector>

namespace {

std::map<int, rt::Panel> panels;
int lastPanel = 0;
std::vector<void *> bitmaps; // id n is entry n - 1, kept for the whole run as the game expects

int toInt(double value) {
    if (!(value == value)) // NaN
        return 0;
    return static_cast<int>(std::lround(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value));
}

// Looks up a control of one of the kinds an operation applies to; reports it otherwise.
rt::Control *find(const char *operation, int panel, int id, int *error,
                  std::initializer_list<rt::Kind> kinds = {}) {
    rt::Control *found = rt::control(panel, id);
    if (!found) {
        *error = rt::fail(operation, rt::ERR_BAD_HANDLE);
        return nullptr;
    }
    for (rt::Kind kind : kinds)
        if (found->kind == kind)
            return found;
    if (kinds.size())
        *error = rt::fail(operation, rt::ERR_BAD_ATTRIBUTE);
    return kinds.size() ? nullptr : found;
}

int setAttribute(int panel, int id, int attribute, double value) {
    const char *operation = "SetCtrlAttribute";
    int error = 0;
    rt::Control *c = find(operation, panel, id, &error);
    if (!c)
        return error;
    const rt::Kind kind = c->kind;
    if (attribute == ATTR_DIMMED)
        c->dimmed = value != 0;
    else if (attribute == ATTR_VISIBLE)
        c->visible = value != 0;
    else if (attribute == ATTR_CMD_BUTTON_COLOR && kind == rt::BUTTON)
        c->colour = toInt(value) & 0xFFFFFF;
    else if (attribute == ATTR_ON_COLOR && kind == rt::LED)
        c->onColour = toInt(value) & 0xFFFFFF;
    else if (attribute == ATTR_OFF_COLOR && kind == rt::LED)
        c->offColour = toInt(value) & 0xFFFFFF;
    else if (attribute == ATTR_INTERVAL && kind == rt::TIMER)
        c->interval = value;
    else if (attribute == ATTR_ENABLED && kind == rt::TIMER)
        c->enabled = value != 0;
    else
        return rt::fail(operation, rt::ERR_BAD_ATTRIBUTE);
    be::apply(c, attribute);
    return 0;
}

int setValue(int panel, int id, double value) {
    int error = 0;
    rt::Control *c = find("SetCtrlVal", panel, id, &error, {rt::NUMERIC, rt::LED});
    if (!c)
        return error;
    c->value = c->kind == rt::LED ? value != 0 : value;
    be::apply(c, 0);
    return 0;
}

rt::Control *findGraph(const char *operation, int panel, int id, int *error) {
    return find(operation, panel, id, error, {rt::GRAPH});
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
    const double ms = timer.interval * 1000.0;
    return !(ms > 20) ? 20 : ms >= INT_MAX ? INT_MAX : static_cast<int>(std::lround(ms));
}

} // namespace rt

int LoadPanel(int, const char *fileName, int panelResourceId) {
    rt::Panel p;
    if (!fileName)
        return rt::fail("LoadPanel", rt::ERR_PANEL_FILE);
    const int error = be::loadPanel(fileName, panelResourceId, &p);
    if (error < 0)
        return rt::fail("LoadPanel", error);
    void *symbol = nullptr;
    bool found = p.callbackName.empty() || (symbol = rt::programFunction(p.callbackName));
    p.callback = reinterpret_cast<PanelCallbackPtr>(symbol);
    for (auto &entry : p.controls) {
        rt::Control &c = entry.second;
        if (!c.callbackName.empty() && found)
            found = (c.callback = reinterpret_cast<CtrlCallbackPtr>(
                         rt::programFunction(c.callbackName))) != nullptr;
    }
    if (!found) {
        be::discardPanel(&p);
        return rt::fail("LoadPanel", rt::ERR_CALLBACK);
    }
    const int handle = ++lastPanel;
    rt::Panel &stored = panels[handle] = std::move(p);
    be::panelSize(&stored, &stored.setHeight, &stored.setWidth);
    be::bindPanel(&stored, handle);
    return handle;
}

int DisplayPanel(int panel) {
    rt::Panel *p = rt::panel(panel);
    if (!p)
        return rt::fail("DisplayPanel", rt::ERR_BAD_HANDLE);
    // A size the screen cannot show is cut down to fit, as the program's own size, not the
    // player's: the panel's bottom row of buttons must stay reachable on a small screen.
    int height = 0, width = 0, roomHeight = 0, roomWidth = 0;
    be::panelSize(p, &height, &width);
    const bool fit =
        be::room(p, &roomHeight, &roomWidth) && (height > roomHeight || width > roomWidth);
    if (fit)
        SetPanelSize(panel, height < roomHeight ? height : roomHeight,
                     width < roomWidth ? width : roomWidth);
    be::showPanel(p, fit);
    return 0;
}

int DiscardPanel(int panel) {
    rt::Panel *p = rt::panel(panel);
    if (!p)
        return rt::fail("DiscardPanel", rt::ERR_BAD_HANDLE);
    for (auto &entry : p->controls)
        if (entry.second.kind == rt::TIMER && entry.second.enabled) {
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
    int height = 0, width = 0;
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
    int error = 0;
    rt::Control *c = find("GetCtrlVal", panel, control, &error, {rt::NUMERIC, rt::LED});
    if (!c || !value)
        return c ? rt::fail("GetCtrlVal", rt::ERR_BAD_ATTRIBUTE) : error;
    *value = toInt(c->value);
    return 0;
}

int SetCtrlAttribute(int panel, int control, int attribute, int value) {
    return setAttribute(panel, control, attribute, value);
}

int SetCtrlAttribute(int panel, int control, int attribute, double value) {
    return setAttribute(panel, control, attribute, value);
}

int GetCtrlAttribute(int panel, int control, int attribute, int *value) {
    int error = 0;
    rt::Control *c = find("GetCtrlAttribute", panel, control, &error);
    if (!c)
        return error;
    const rt::Kind kind = c->kind;
    if (!value)
        return rt::fail("GetCtrlAttribute", rt::ERR_BAD_ATTRIBUTE);
    if (attribute == ATTR_DIMMED)
        *value = c->dimmed;
    else if (attribute == ATTR_VISIBLE)
        *value = c->visible;
    else if (attribute == ATTR_CMD_BUTTON_COLOR && kind == rt::BUTTON)
        *value = c->colour;
    else if (attribute == ATTR_ON_COLOR && kind == rt::LED)
        *value = c->onColour;
    else if (attribute == ATTR_OFF_COLOR && kind == rt::LED)
        *value = c->offColour;
    else if (attribute == ATTR_ENABLED && kind == rt::TIMER)
        *value = c->enabled;
    else
        return rt::fail("GetCtrlAttribute", rt::ERR_BAD_ATTRIBUTE);
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
    void *image = fileName && bitmapId ? be::loadImage(fileName) : nullptr;
    if (!image)
        return rt::fail("GetBitmapFromFile", rt::ERR_IMAGE);
    bitmaps.push_back(image);
    *bitmapId = static_cast<int>(bitmaps.size());
    return 0;
}

int PlotBitmap(int panel, int control, double x, double y, double width, double height,
               const char *fileName) {
    int error = 0;
    rt::Control *graph = findGraph("PlotBitmap", panel, control, &error);
    if (!graph)
        return error;
    if (!(width > 0) || !(height > 0))
        return rt::fail("PlotBitmap", rt::ERR_BAD_ATTRIBUTE);
    int bitmap = 0;
    if (fileName && *fileName && GetBitmapFromFile(fileName, &bitmap) < 0)
        return rt::ERR_IMAGE;
    // Handles only grow: a deleted plot's handle never comes back to mean another plot.
    const int handle = ++graph->lastPlot;
    const rt::Plot &plot = graph->plots[handle] = rt::Plot{x, y, width, height, bitmap};
    be::graphChanged(graph, &plot);
    return handle;
}

int SetCtrlBitmap(int panel, int control, int imageId, int bitmapId) {
    int error = 0;
    rt::Control *graph = findGraph("SetCtrlBitmap", panel, control, &error);
    if (!graph)
        return error;
    auto plot = graph->plots.find(imageId);
    if (plot == graph->plots.end() || (bitmapId != 0 && !rt::bitmap(bitmapId)))
        return rt::fail("SetCtrlBitmap", rt::ERR_BAD_HANDLE);
    plot->second.bitmap = bitmapId;
    be::graphChanged(graph, &plot->second);
    return 0;
}

int DeleteGraphPlot(int panel, int control, int plotHandle, int) {
    int error = 0;
    rt::Control *graph = findGraph("DeleteGraphPlot", panel, control, &error);
    if (!graph)
        return error;
    if (plotHandle == -1) {
        graph->plots.clear();
        be::graphChanged(graph, nullptr);
        return 0;
    }
    auto plot = graph->plots.find(plotHandle);
    if (plot == graph->plots.end())
        return rt::fail("DeleteGraphPlot", rt::ERR_BAD_HANDLE);
    const rt::Plot gone = plot->second;
    graph->plots.erase(plot);
    be::graphChanged(graph, &gone);
    return 0;
}
