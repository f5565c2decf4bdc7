// Input as Windows delivers it to the panel's windows, and the screen read back from them.
#include "inject.h"
#include "w32.h"

namespace {

HWND window(int panel, int control) {
    return control ? static_cast<w32::Widget *>(rt::control(panel, control)->widget)->hwnd
                   : static_cast<w32::Window *>(rt::panel(panel)->window)->hwnd;
}

int pending = 0; // the key for the next pop-up

void CALLBACK press(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND focus = GetFocus();
    if (pending == '\r' || pending == 27)
        PostMessageW(focus, WM_KEYDOWN, pending == 27 ? VK_ESCAPE : VK_RETURN, 1);
    else
        PostMessageW(focus, WM_CHAR, pending, 1);
}

} // namespace

namespace inject {

void key(int panel, int key, bool ctrl) {
    HWND target = GetFocus() ? GetFocus() : window(panel, 0);
    BYTE state[256], held[256];
    GetKeyboardState(state);
    CopyMemory(held, state, sizeof held);
    held[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(held);
    const WPARAM vk = key == KEY_DOWN ? VK_DOWN : VkKeyScanW(static_cast<wchar_t>(key)) & 0xFF;
    SendMessageW(target, WM_KEYDOWN, vk, 1);
    SetKeyboardState(state);
}

void click(int panel, int control) {
    RECT r;
    GetClientRect(window(panel, control), &r);
    const LPARAM middle = MAKELPARAM(r.right / 2, r.bottom / 2);
    SendMessageW(window(panel, control), WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(window(panel, control), WM_LBUTTONUP, 0, middle);
}

void closeBox(int panel) {
    SendMessageW(window(panel, 0), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void resize(int panel, int height, int width) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(window(panel, 0), GWL_STYLE)), FALSE, 0);
    SetWindowPos(window(panel, 0), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
}

void answer(int key) {
    pending = key;
    SetTimer(nullptr, 0, 50, press);
}

void pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    for (DWORD now = GetTickCount(); now < end; now = GetTickCount()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

int pixel(int panel, int control, double fx, double fy) {
    HWND hwnd = window(panel, control);
    RECT r;
    GetClientRect(hwnd, &r);
    HDC dc = GetDC(hwnd);
    const COLORREF shown = GetPixel(dc, static_cast<int>(fx * r.right), static_cast<int>((1 - fy) * r.bottom));
    ReleaseDC(hwnd, dc);
    return GetRValue(shown) << 16 | GetGValue(shown) << 8 | GetBValue(shown);
}

} // namespace inject
