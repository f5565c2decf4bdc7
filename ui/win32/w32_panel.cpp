// Panels over Win32: the form's controls as child windows drawn with GDI, laid out again at
// every size, and the window's keys, clicks, close box, timers and resizing handed to the core.
#include "w32.h"

#include <algorithm>
#include <cmath>

namespace w32 {

namespace {

const wchar_t *const panelClass = L"StakkoPanel";
const wchar_t *const controlClass = L"StakkoControl";
enum { APPLY_VISIBILITY = WM_APP, DESTROY = WM_APP + 1 };
std::vector<Window *> windows;

Window *windowFrom(HWND hwnd) {
    return reinterpret_cast<Window *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

Widget *widgetFrom(HWND hwnd) {
    return reinterpret_cast<Widget *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

Widget *widgetOf(const rt::Control *c) {
    return static_cast<Widget *>(c->widget);
}

COLORREF colour(int rgb) {
    return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
}

RECT area(const rt::Control &c, const RECT &client) {
    double unit = 0;
    const rt::Box a = rt::graphAxes(c, client.right, client.bottom, &unit);
    return RECT{a.left, a.top, a.right, a.bottom};
}

RECT plotRect(const rt::Control &c, const rt::Plot &plot, const RECT &client) {
    double unit = 0; // set by the layout before the plot is placed with it
    const rt::Box axes = rt::graphAxes(c, client.right, client.bottom, &unit);
    const rt::Box b = rt::plotBox(c, axes, unit, plot);
    return RECT{b.left, b.top, b.right, b.bottom};
}

void frame(HDC dc, const RECT &r, COLORREF fill, COLORREF edge, int width, int style, int radius) {
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(style, width, edge);
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    RoundRect(dc, r.left + width / 2, r.top + width / 2, r.right - (width - 1) / 2,
              r.bottom - (width - 1) / 2, radius, radius);
    SelectObject(dc, oldBrush), SelectObject(dc, oldPen);
    DeleteObject(brush), DeleteObject(pen);
}

void text(HDC dc, RECT r, HFONT font, COLORREF ink, const std::string &shown, UINT format) {
    SelectObject(dc, font);
    SetTextColor(dc, ink);
    SetBkMode(dc, TRANSPARENT);
    const std::wstring w = wide(shown.c_str());
    DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r, format | DT_SINGLELINE | DT_VCENTER);
}

void paintGraph(HDC dc, const rt::Control &c, const RECT &client, const RECT &dirty) {
    const RECT a = area(c, client);
    HBRUSH base = CreateSolidBrush(theme.base);
    FillRect(dc, &a, base);
    DeleteObject(base);
    IntersectClipRect(dc, a.left, a.top, a.right, a.bottom);
    HDC source = CreateCompatibleDC(dc);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    RECT target, common;
    for (const auto &entry : c.plots) {
        auto bitmap = static_cast<HBITMAP>(rt::bitmap(entry.second.bitmap));
        BITMAP info;
        target = plotRect(c, entry.second, client);
        if (!bitmap || !IntersectRect(&common, &target, &dirty) ||
            !GetObjectW(bitmap, sizeof info, &info))
            continue;
        HGDIOBJ old = SelectObject(source, bitmap);
        StretchBlt(dc, target.left, target.top, target.right - target.left,
                   target.bottom - target.top, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(source, old);
    }
    DeleteDC(source);
}

void paintControl(HDC dc, HWND hwnd, const Widget &w, const rt::Control &c, const RECT &dirty) {
    RECT r;
    GetClientRect(hwnd, &r);
    HBRUSH backdrop = CreateSolidBrush(w.node->backdrop);
    FillRect(dc, &r, backdrop);
    DeleteObject(backdrop);
    if (c.kind == rt::BUTTON) {
        const bool focused = GetFocus() == hwnd;
        frame(dc, r, colour(c.colour),
              c.dimmed  ? RGB(0x3a, 0x44, 0x56)
              : focused ? RGB(0x5d, 0x9c, 0xff)
                        : RGB(0x0e, 0x13, 0x1b),
              focused && !c.dimmed ? 2 : 1, c.dimmed ? PS_DOT : PS_SOLID, 14);
        OffsetRect(&r, w.pressed, w.pressed);
        text(dc, r, theme.bold,
             // The platform's own text on its own face; dark text reads well on the game's
             // colours, the held look's green and the muted red.
             c.dimmed                           ? RGB(0x6f, 0x7a, 0x8c)
             : colour(c.colour) == theme.button ? GetSysColor(COLOR_BTNTEXT)
                                                : RGB(0x10, 0x14, 0x18),
             w.node->text("text"), DT_CENTER);
    } else if (c.kind == rt::NUMERIC || c.kind == rt::TEXT) {
        frame(dc, r, theme.display, RGB(0x3a, 0x47, 0x5c), 1, PS_SOLID, 8);
        char number[64];
        snprintf(number, sizeof number, "%.*f", w.decimals, c.value);
        r.right -= 7;
        text(dc, r, theme.display_, c.dimmed ? RGB(0x4d, 0x6b, 0x5a) : theme.displayText,
             c.kind == rt::TEXT ? w.text : number, DT_RIGHT);
    } else if (c.kind == rt::LED) {
        const int lit = c.value != 0 ? c.onColour : c.offColour;
        const int d = std::min(r.right, r.bottom) - 2;
        const RECT circle{(r.right - d) / 2, (r.bottom - d) / 2, (r.right - d) / 2 + d,
                          (r.bottom - d) / 2 + d};
        frame(dc, circle, colour(lit),
              colour((lit >> 16) * 10 / 16 << 16 | (lit >> 8 & 0xFF) * 10 / 16 << 8 |
                     (lit & 0xFF) * 10 / 16),
              1, PS_SOLID, d);
    } else if (c.kind == rt::PICTURE && theme.foot) {
        DrawIconEx(dc, (r.right - 48) / 2, (r.bottom - 48) / 2, theme.foot, 48, 48, 0, nullptr,
                   DI_NORMAL);
    } else if (c.kind == rt::GRAPH) {
        paintGraph(dc, c, r, dirty);
    }
}

// Drawn into a bitmap first, so that a repainted cell never flickers through the board colour.
void paintBuffered(HWND hwnd, void (*paint)(HDC, HWND, const RECT &)) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP pixels =
        CreateCompatibleBitmap(dc, std::max<LONG>(r.right, 1), std::max<LONG>(r.bottom, 1));
    HGDIOBJ old = SelectObject(buffer, pixels);
    paint(buffer, hwnd, ps.rcPaint);
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, buffer, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    SelectObject(buffer, old);
    DeleteObject(pixels), DeleteDC(buffer);
    EndPaint(hwnd, &ps);
}

// The panel's own decoration: the cards and the captions that are no controls.
void paintDecoration(HDC dc, const Node &n) {
    if (n.cls == "QFrame")
        frame(dc, n.rect, theme.card, theme.cardBorder, 1, PS_SOLID, 16);
    if (n.cls == "QLabel" && !n.props.count("ctrlId"))
        text(dc, n.rect, theme.caption_, theme.caption, n.text("text"), DT_LEFT | DT_NOPREFIX);
    for (const Node &item : n.items)
        paintDecoration(dc, item);
}

void applyVisibility(Window *win) {
    for (const auto &entry : win->pendingVisibility)
        if ((IsWindowVisible(entry.first->hwnd) != FALSE) != entry.second)
            ShowWindow(entry.first->hwnd, entry.second ? SW_SHOWNA : SW_HIDE);
    win->pendingVisibility.clear();
}

void relayout(Window *win) {
    RECT r;
    GetClientRect(win->hwnd, &r);
    HDC dc = GetDC(win->hwnd);
    layout(&win->form, dc, r.right, r.bottom);
    ReleaseDC(win->hwnd, dc);
    for (Widget *w : win->widgets)
        if (w->hwnd)
            MoveWindow(w->hwnd, w->node->rect.left, w->node->rect.top,
                       w->node->rect.right - w->node->rect.left,
                       w->node->rect.bottom - w->node->rect.top, TRUE);
    InvalidateRect(win->hwnd, nullptr, FALSE);
}

// Every key goes to the panel callback first; arrows belong to the game alone, Enter and
// Space on a button press it and Tab moves between the buttons.
bool keyDown(HWND target, WPARAM key, LPARAM flags) {
    Window *win = windowFrom(GetAncestor(target, GA_ROOT));
    if (!win || key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == VK_LWIN ||
        key == VK_RWIN)
        return false;
    const rt::Key which = key == VK_UP      ? rt::KEY_UP
                          : key == VK_DOWN  ? rt::KEY_DOWN
                          : key == VK_LEFT  ? rt::KEY_LEFT
                          : key == VK_RIGHT ? rt::KEY_RIGHT
                                            : rt::KEY_OTHER;
    BYTE state[256];
    wchar_t typed[4] = {0};
    GetKeyboardState(state);
    const int count =
        ToUnicode(static_cast<UINT>(key), MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC),
                  state, typed, 4, 0);
    const int character = count == 1 && typed[0] >= 0x20                  ? typed[0]
                          : (key >= '0' && key <= 'Z') || key == VK_SPACE ? static_cast<int>(key)
                                                                          : 0;
    const int panel = win->panel;
    rt::keyPressed(panel, rt::keyCode(which, character, GetKeyState(VK_CONTROL) < 0,
                                      GetKeyState(VK_SHIFT) < 0));
    const rt::Control *c = target == win->hwnd ? nullptr : rt::control(panel, GetDlgCtrlID(target));
    if (which != rt::KEY_OTHER || !c || c->kind != rt::BUTTON)
        return which != rt::KEY_OTHER;
    if ((key == VK_RETURN || key == VK_SPACE) && !(flags & 0x40000000))
        rt::committed(panel, GetDlgCtrlID(target));
    if (key == VK_TAB)
        SetFocus(GetNextDlgTabItem(win->hwnd, target, GetKeyState(VK_SHIFT) < 0));
    return true;
}

LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    Widget *w = widgetFrom(hwnd);
    const rt::Control *c = w ? rt::control(w->panel, w->id) : nullptr;
    switch (message) {
    case WM_PAINT:
        paintBuffered(hwnd, [](HDC dc, HWND self, const RECT &dirty) {
            const Widget *me = widgetFrom(self);
            if (const rt::Control *shown = rt::control(me->panel, me->id))
                paintControl(dc, self, *me, *shown, dirty);
        });
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        if (c && c->kind == rt::BUTTON) {
            SetFocus(hwnd);
            SetCapture(hwnd);
            w->pressed = true;
            InvalidateRect(hwnd, nullptr, FALSE);
        } else if (c && c->kind == rt::PICTURE) {
            POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            MapWindowPoints(hwnd, w->owner, &at, 1);
            rt::leftClicked(w->panel, w->id, at.y, at.x);
        }
        return 0;
    case WM_LBUTTONUP:
        if (w && w->pressed) {
            RECT r;
            GetClientRect(hwnd, &r);
            const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            ReleaseCapture();
            if (PtInRect(&r, at))
                rt::committed(w->panel, w->id);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (w)
            w->pressed = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETCURSOR:
        if (c && c->kind == rt::PICTURE) {
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
            return TRUE;
        }
        break;
    case WM_KEYDOWN:
        if (keyDown(hwnd, wp, lp))
            return 0;
        break;
    }
    return DefWindowProcW(hwnd, message, wp, lp);
}

const DWORD panelStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

LRESULT CALLBACK panelProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    Window *win = windowFrom(hwnd);
    if (!win)
        return DefWindowProcW(hwnd, message, wp, lp);
    static HWND lastFocus = nullptr;
    switch (message) {
    case WM_SIZE:
        if (wp == SIZE_MINIMIZED)
            return 0;
        relayout(win);
        rt::resized(win->panel, HIWORD(lp), LOWORD(lp)); // the core knows the program's own sizes
        return 0;
    case WM_PAINT:
        paintBuffered(hwnd, [](HDC dc, HWND self, const RECT &) {
            RECT r;
            GetClientRect(self, &r);
            HBRUSH brush = CreateSolidBrush(theme.panel);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
            paintDecoration(dc, windowFrom(self)->form);
        });
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_CLOSE:
        rt::closeBoxPressed(win->panel); // the program decides, through the close control
        return 0;
    case WM_GETMINMAXINFO: { // the player cannot drag it below the form's smallest size
        RECT r{0, 0, win->form.number("minimumSize.width"), win->form.number("minimumSize.height")};
        AdjustWindowRectEx(&r, panelStyle, FALSE, 0);
        POINT &least = reinterpret_cast<MINMAXINFO *>(lp)->ptMinTrackSize;
        least = {std::max(least.x, r.right - r.left), std::max(least.y, r.bottom - r.top)};
        return 0;
    }
    case WM_TIMER:
        rt::timerFired(win->panel, static_cast<int>(wp));
        return 0;
    case WM_KEYDOWN:
        if (keyDown(hwnd, wp, lp))
            return 0;
        break;
    case WM_ACTIVATE: // the focus comes back to where it was, first to the first button
        if (LOWORD(wp) == WA_INACTIVE) {
            lastFocus = IsChild(hwnd, GetFocus()) ? GetFocus() : nullptr;
        } else {
            HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE);
            const bool back = IsChild(hwnd, lastFocus) && IsWindowEnabled(lastFocus);
            SetFocus(back ? lastFocus : first ? first : hwnd);
        }
        return 0;
    case APPLY_VISIBILITY:
        applyVisibility(win);
        return 0;
    case DESTROY: // posted: a callback of this very panel may have discarded it
        // The window first: its controls' last messages still find their widgets.
        DestroyWindow(hwnd);
        windows.erase(std::find(windows.begin(), windows.end(), win));
        for (Widget *w : win->widgets)
            delete w;
        delete win;
        return 0;
    }
    return DefWindowProcW(hwnd, message, wp, lp);
}

void registerClasses() { // a second registration fails harmlessly
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpfnWndProc = panelProc;
    wc.lpszClassName = panelClass;
    wc.hIcon = theme.icon;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = controlProc;
    wc.lpszClassName = controlClass;
    wc.style = CS_HREDRAW | CS_VREDRAW; // a graph's cells are laid out anew at every size
    RegisterClassExW(&wc);
}

bool readControl(Window *win, Node &n, rt::Panel *panel) {
    for (Node &item : n.items)
        if (!readControl(win, item, panel))
            return false;
    if (&n == &win->form || !n.props.count("ctrlId"))
        return true; // decoration
    const int id = n.number("ctrlId");
    static const std::map<std::string, rt::Kind> kinds = {
        {"QPushButton", rt::BUTTON}, {"QSpinBox", rt::NUMERIC}, {"QDoubleSpinBox", rt::NUMERIC},
        {"QLineEdit", rt::TEXT},     {"QLabel", rt::PICTURE},   {"CviLed", rt::LED},
        {"CviGraph", rt::GRAPH},     {"CviTimer", rt::TIMER}};
    auto kind = kinds.find(n.cls);
    if (kind == kinds.end() || id <= 0 || panel->controls.count(id))
        return false;
    rt::Control &c = panel->controls[id];
    auto *w = new Widget{nullptr, win->hwnd, &n, 0, id, n.number("decimals"), "", false};
    win->widgets.push_back(w);
    c.kind = kind->second;
    c.widget = w;
    c.callbackName = n.text("callback");
    c.value = std::atof(n.text("value", "0").c_str());
    c.colour = static_cast<int>(GetRValue(theme.button) << 16 | GetGValue(theme.button) << 8 |
                                GetBValue(theme.button));
    const bool enabled = n.text("enabled") != "false";
    if (c.kind == rt::TIMER) { // in the form, "enabled" means ticking
        c.enabled = enabled;
        c.interval = std::atof(n.text("interval", "1").c_str());
        return true;
    }
    c.dimmed = !enabled;
    auto axis = [&n](const char *key, const char *fallback) {
        return std::atof(n.text(key, fallback).c_str());
    };
    c.xMin = axis("xMinimum", "0"), c.xMax = axis("xMaximum", "100");
    c.yMin = axis("yMinimum", "0"), c.yMax = axis("yMaximum", "100");
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (c.dimmed ? WS_DISABLED : 0) |
                        (c.kind == rt::BUTTON ? WS_TABSTOP : 0);
    const std::string name = n.text("text", n.text("accessibleName"));
    w->hwnd = CreateWindowExW(0, controlClass, wide(name.c_str()).c_str(), style, 0, 0, 0, 0,
                              win->hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(w->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
    return w->hwnd != nullptr;
}

} // namespace

} // namespace w32

using namespace w32;

namespace be {

bool loadPanel(const char *fileName, int resourceId, rt::Panel *panel) {
    registerClasses();
    auto *win = new Window;
    if (!readForm(fileName, &win->form) || !win->form.props.count("ctrlId") ||
        win->form.number("ctrlId") != resourceId) {
        delete win;
        return false;
    }
    const std::string title = win->form.text("windowTitle");
    RECT r{0, 0, win->form.number("geometry.width", 400), win->form.number("geometry.height", 400)};
    AdjustWindowRectEx(&r, panelStyle, FALSE, 0);
    win->hwnd = CreateWindowExW(0, panelClass, wide(title.c_str()).c_str(), panelStyle,
                                CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    windows.push_back(win);
    SetWindowLongPtrW(win->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(win));
    panel->window = win;
    if (!win->hwnd || !readControl(win, win->form, panel)) {
        discardPanel(panel);
        panel->controls.clear();
        return false;
    }
    panel->callbackName = win->form.text("callback");
    panel->closeCtrl = win->form.number("closeCtrl");
    relayout(win);
    return true;
}

void bindPanel(rt::Panel *panel, int handle) {
    auto *win = static_cast<Window *>(panel->window);
    win->panel = handle;
    for (auto &entry : panel->controls) {
        widgetOf(&entry.second)->panel = handle;
        if (entry.second.kind == rt::TIMER)
            apply(&entry.second, ATTR_ENABLED);
    }
}

void discardPanel(rt::Panel *panel) {
    auto *win = static_cast<Window *>(panel->window);
    win->panel = 0;
    for (Widget *w : win->widgets)
        w->panel = 0;
    ShowWindow(win->hwnd, SW_HIDE);
    PostMessageW(win->hwnd, DESTROY, 0, 0);
}

void showPanel(rt::Panel *panel, bool fitted) {
    HWND hwnd = static_cast<Window *>(panel->window)->hwnd;
    RECT work, r;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(hwnd, &r);
    if (fitted) // placed at the top so that its frame stays on the screen
        SetWindowPos(hwnd, nullptr, work.left + (work.right - work.left - (r.right - r.left)) / 2,
                     work.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    UpdateWindow(hwnd);
}

void boundSize(const rt::Panel *panel, int *height, int *width) {
    // The limits the window system keeps a new size within, as the window answers them.
    MINMAXINFO limits{};
    limits.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    limits.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessageW(static_cast<Window *>(panel->window)->hwnd, WM_GETMINMAXINFO, 0,
                 reinterpret_cast<LPARAM>(&limits));
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, panelStyle, FALSE, 0);
    const int frameWidth = frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    *width = std::max<int>(limits.ptMinTrackSize.x - frameWidth,
                           std::min<int>(*width, limits.ptMaxTrackSize.x - frameWidth));
    *height = std::max<int>(limits.ptMinTrackSize.y - frameHeight,
                            std::min<int>(*height, limits.ptMaxTrackSize.y - frameHeight));
}

void resizePanel(rt::Panel *panel, int height, int width) {
    auto *win = static_cast<Window *>(panel->window);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, panelStyle, FALSE, 0);
    SetWindowPos(win->hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void panelSize(const rt::Panel *panel, int *height, int *width) {
    RECT r;
    GetClientRect(static_cast<Window *>(panel->window)->hwnd, &r);
    *height = r.bottom;
    *width = r.right;
}

void room(const rt::Panel *, int *height, int *width) {
    RECT work, frame{0, 0, 0, 0};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    AdjustWindowRectEx(&frame, panelStyle, FALSE, 0);
    *height = (work.bottom - work.top) - (frame.bottom - frame.top);
    *width = (work.right - work.left) - (frame.right - frame.left);
}

void apply(rt::Control *c, int attribute) {
    Widget *w = widgetOf(c);
    if (c->kind == rt::TIMER) {
        if (attribute == ATTR_INTERVAL || attribute == ATTR_ENABLED) {
            // A new interval starts its period anew, as a newly enabled timer does.
            if (c->enabled)
                SetTimer(w->owner, static_cast<UINT_PTR>(w->id),
                         static_cast<UINT>(rt::timerPeriodMs(*c)), nullptr);
            else
                KillTimer(w->owner, static_cast<UINT_PTR>(w->id));
        }
        return;
    }
    if (attribute == ATTR_DIMMED) {
        // The focus goes back to the control before it (at game over from Pause to Start);
        // Windows would leave the keyboard nowhere.
        if (c->dimmed && GetFocus() == w->hwnd)
            SetFocus(GetNextDlgTabItem(w->owner, w->hwnd, TRUE));
        EnableWindow(w->hwnd, !c->dimmed);
    } else if (attribute == ATTR_VISIBLE) {
        // Hiding and showing again within one callback, as the game does around every cell,
        // must cost nothing: visibility is applied back in the loop, or when drawn now.
        Window *win = windowFrom(w->owner);
        if (win->pendingVisibility.empty())
            PostMessageW(w->owner, APPLY_VISIBILITY, 0, 0);
        win->pendingVisibility[w] = c->visible;
        return;
    }
    InvalidateRect(w->hwnd, nullptr, FALSE);
}

void setText(rt::Control *c, const char *text) {
    widgetOf(c)->text = text;
    InvalidateRect(widgetOf(c)->hwnd, nullptr, FALSE);
}

void focus(rt::Control *c) {
    if (widgetOf(c)->hwnd)
        SetFocus(widgetOf(c)->hwnd);
}

void graphChanged(rt::Control *graph, const rt::Plot *plot) {
    HWND hwnd = widgetOf(graph)->hwnd;
    RECT client;
    GetClientRect(hwnd, &client);
    const RECT changed =
        plot ? plotRect(*graph, *plot, client) : client; // only the cell's own square
    InvalidateRect(hwnd, &changed, FALSE);
}

void drawNow() {
    for (Window *win : windows) {
        applyVisibility(win);
        RedrawWindow(win->hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    GdiFlush();
}

} // namespace be
