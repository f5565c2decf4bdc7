// Input as Windows delivers it to the panel's windows, and the screen read back from them.
#include "inject.h"
#include "w32.h"

#include <deque>

static HWND window(int panel, int control) {
    return control ? static_cast<w32::Widget *>(rt::control(panel, control)->widget)->hwnd
                   : static_cast<w32::Window *>(rt::panel(panel)->window)->hwnd;
}

static std::deque<int> pending; // keys for the pop-up, each pressed in turn where its focus is

static void CALLBACK press(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    const int key = pending.front();
    pending.pop_front();
    const bool named = key == '\r' || key == 27 || key == ' ' || key < 0; // letters: as typed
    const WPARAM vk = key == 27 ? VK_ESCAPE : key == inject::KEY_UP ? VK_UP : key;
    PostMessageW(GetFocus(), named ? WM_KEYDOWN : WM_CHAR, vk, 1);
    if (key == ' ') // a button is pressed when the space bar comes up
        PostMessageW(GetFocus(), WM_KEYUP, VK_SPACE, 0xC0000001);
}

namespace inject {

void key(int panel, int key, bool ctrl) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0; // as GetKeyState reads it, until the next key
    SetKeyboardState(state);
    const WPARAM vk = key == KEY_DOWN ? VK_DOWN : VkKeyScanW(static_cast<wchar_t>(key)) & 0xFF;
    SendMessageW(GetFocus() ? GetFocus() : window(panel, 0), WM_KEYDOWN, vk, 1);
}

void click(int panel, int control) {
    RECT r;
    GetClientRect(window(panel, control), &r);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP})
        SendMessageW(window(panel, control), message, MK_LBUTTON,
                     MAKELPARAM(r.right / 2, r.bottom / 2));
}

void closeBox(int panel) {
    SendMessageW(window(panel, 0), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void resize(int panel, int height, int width) {
    HWND shown = window(panel, 0);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(shown, GWL_STYLE)), FALSE, 0);
    SetWindowPos(shown, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE);
}

void answer(int key) {
    pending.push_back(key);
    SetTimer(nullptr, 0, 50 * static_cast<UINT>(pending.size()), press); // in the order given
}

void pump(int ms) {
    for (const DWORD end = GetTickCount() + static_cast<DWORD>(ms); GetTickCount() < end;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            TranslateMessage(&msg), DispatchMessageW(&msg);
    }
}

int pixel(int panel, int control, double fx, double fy) {
    RECT r;
    GetClientRect(window(panel, control), &r);
    HDC dc = GetDC(window(panel, control));
    const COLORREF shown =
        GetPixel(dc, static_cast<int>(fx * r.right), static_cast<int>((1 - fy) * r.bottom));
    ReleaseDC(window(panel, control), dc);
    return GetRValue(shown) << 16 | GetGValue(shown) << 8 | GetBValue(shown);
}

} // namespace inject
