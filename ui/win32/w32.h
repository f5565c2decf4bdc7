// What the Win32 back end's files share: the form as read, its layout, the panel window and
// its controls, the theme's colours and fonts.
#pragma once

#include "rt.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace w32 {

// One widget, layout or spacer of the form, with the properties the run-time reads.
struct Node {
    std::string cls, name; // "QHBoxLayout", "QVBoxLayout" and "spacer" for the non-widgets
    std::map<std::string, std::string> props; // "minimumSize.width" and the like for parts
    std::vector<int> stretch;                 // a layout's stretch factors
    std::vector<Node> items;                  // a widget's one layout, or a layout's items
    RECT rect{};                              // laid out, in panel window pixels
    COLORREF backdrop = 0;                    // what shows behind it
    bool isLayout() const { return cls == "QHBoxLayout" || cls == "QVBoxLayout"; }
    int number(const char *key, int fallback = 0) const;
    std::string text(const char *key, const std::string &fallback = "") const;
};

struct Widget {
    HWND hwnd = nullptr, owner = nullptr; // the control's own window (none for the timer)
    Node *node = nullptr;
    int panel = 0, id = 0, decimals = 0;
    std::string text;
    bool pressed = false;
};

struct Window {
    HWND hwnd = nullptr;
    Node form;
    int panel = 0;
    std::vector<Widget *> widgets;
    std::map<Widget *, bool> pendingVisibility;
};

struct Theme {
    COLORREF panel, card, cardBorder, caption, display, displayText, base, button;
    HFONT font, caption_, display_, bold;
    HICON icon, foot;
};
extern Theme theme;

bool readForm(const char *fileName, Node *root); // false: no form, or not one
void layout(Node *root, HDC dc, int width, int height);
std::wstring wide(const char *utf8);

} // namespace w32
