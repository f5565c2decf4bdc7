// The application over Win32: the run-time's own files (fonts, colours, icons), the message
// loop, images, the modal pop-ups and starting other programs.
#include "w32.h"

#include <fstream>
#include <objidl.h> // before GDI+, which needs it
#include <gdiplus.h>
#include <shlwapi.h>
#include <sstream>

namespace w32 {

Theme theme{};

namespace {

int loops = 0; // message loops of RunUserInterface running
bool quitPending = false;
int quitCode = 0;

std::string fileText(const char *name) {
    std::ifstream file(name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return file ? text.str() : std::string();
}

// A colour of the style sheet: the property's value in the first rule whose selector begins so.
COLORREF styleColour(const std::string &sheet, const char *selector, const char *property) {
    const size_t rule = sheet.find(selector), open = sheet.find('{', rule);
    const size_t at = sheet.find(std::string(" ") + property + ":", open);
    if (rule == std::string::npos || open == std::string::npos || at == std::string::npos ||
        at > sheet.find('}', open))
        return 0;
    const std::string value = sheet.substr(at, sheet.find(';', at) - at);
    unsigned r = 0, g = 0, b = 0;
    const size_t hash = value.find('#'), rgb = value.find("rgb(");
    if (hash != std::string::npos)
        std::sscanf(value.c_str() + hash + 1, "%2x%2x%2x", &r, &g, &b);
    else if (rgb != std::string::npos)
        std::sscanf(value.c_str() + rgb + 4, "%u ,%u ,%u", &r, &g, &b);
    return RGB(r, g, b);
}

unsigned big(const std::string &data, size_t at, int bytes) {
    unsigned value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | static_cast<unsigned char>(at + i < data.size() ? data[at + i] : 0);
    return value;
}

// A file of a Qt binary resource (header, then a tree of named nodes): its bytes, or none
// for a missing or compressed one.
std::string resource(const std::string &rcc, const std::wstring &path) {
    if (rcc.compare(0, 4, "qres") != 0)
        return std::string();
    const unsigned version = big(rcc, 4, 4), tree = big(rcc, 8, 4), data = big(rcc, 12, 4),
                   names = big(rcc, 16, 4), nodeSize = version >= 2 ? 22 : 14;
    unsigned node = 0;
    std::wstringstream parts(path);
    for (std::wstring part; std::getline(parts, part, L'/');) {
        const size_t at = tree + node * nodeSize;
        if (!(big(rcc, at + 4, 2) & 2))
            return std::string(); // not a folder
        const unsigned count = big(rcc, at + 6, 4), first = big(rcc, at + 10, 4);
        node = 0;
        for (unsigned child = first; child < first + count && !node; ++child) {
            const size_t name = names + big(rcc, tree + child * nodeSize, 4);
            std::wstring text;
            for (unsigned i = 0; i < big(rcc, name, 2); ++i)
                text += static_cast<wchar_t>(big(rcc, name + 6 + 2 * i, 2));
            node = text == part ? child : 0;
        }
        if (!node)
            return std::string();
    }
    const size_t at = tree + node * nodeSize;
    if (big(rcc, at + 4, 2) & 7) // a folder, or compressed
        return std::string();
    const size_t bytes = data + big(rcc, at + 10, 4);
    return rcc.substr(bytes + 4, big(rcc, bytes, 4));
}

HICON icon(const std::string &png) {
    IStream *stream = SHCreateMemStream(reinterpret_cast<const BYTE *>(png.data()), static_cast<UINT>(png.size()));
    Gdiplus::GpBitmap *bitmap = nullptr;
    HICON made = nullptr;
    if (stream && Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &bitmap) == Gdiplus::Ok) {
        Gdiplus::DllExports::GdipCreateHICONFromBitmap(bitmap, &made);
        Gdiplus::DllExports::GdipDisposeImage(bitmap);
    }
    if (stream)
        stream->Release();
    return made;
}

HFONT font(int pixels, bool bold) {
    return CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                       CLEARTYPE_QUALITY, 0, L"DejaVu Sans");
}

struct Question {
    int answer, enter, escape;
};

LRESULT CALLBACK questionProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    auto *q = reinterpret_cast<Question *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_COMMAND && q) {
        const int id = LOWORD(wp);
        q->answer = id > 100 ? id - 100 : id == IDCANCEL ? q->escape : id == IDOK ? q->enter : 0;
        return 0;
    }
    if (message == DM_GETDEFID && q) // Enter presses the default button, wherever the focus is
        return q->enter ? MAKELONG(100 + q->enter, DC_HASDEFID) : 0;
    if (message == WM_CLOSE && q) {
        q->answer = q->escape;
        return 0;
    }
    return DefWindowProcW(hwnd, message, wp, lp);
}

} // namespace
} // namespace w32

using namespace w32;

namespace be {

bool init(char *[]) {
    SetProcessDPIAware(); // the form's sizes are pixels
    static ULONG_PTR gdiplus = 0;
    Gdiplus::GdiplusStartupInput input;
    if (!gdiplus && Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr) != Gdiplus::Ok)
        return false;
    // Every file is read before any is applied, so that a missing one changes nothing.
    const std::string sheet = fileText("runtime\\stakkort.qss"), rcc = fileText("runtime\\stakkort.rcc");
    HICON window = icon(resource(rcc, L"stakkort/stakko.png")), foot = icon(resource(rcc, L"stakkort/foot.png"));
    if (sheet.empty() || !window || !foot)
        return false;
    for (const wchar_t *file : {L"runtime\\DejaVuSans.ttf", L"runtime\\DejaVuSans-Bold.ttf"})
        if (!AddFontResourceExW(file, FR_PRIVATE, nullptr))
            return false;
    theme.panel = styleColour(sheet, "QWidget#PANEL", "background-color");
    theme.card = styleColour(sheet, "QFrame#nextCard", "background-color");
    theme.cardBorder = styleColour(sheet, "QFrame#nextCard", "border");
    theme.text = styleColour(sheet, "QWidget {", "color");
    theme.caption = styleColour(sheet, "QFrame#nextCard QLabel", "color");
    theme.display = styleColour(sheet, "QSpinBox", "background-color");
    theme.displayText = styleColour(sheet, "QSpinBox", "color");
    theme.base = styleColour(sheet, "CviGraph", "background-color");
    theme.button = GetSysColor(COLOR_BTNFACE); // the platform's own, as loaded
    theme.font = font(13, false), theme.bold = font(13, true);
    theme.caption_ = font(11, true), theme.display_ = font(17, true);
    theme.icon = window, theme.foot = foot;
    return true;
}

int run() {
    if (quitPending) {
        quitPending = false;
        return quitCode;
    }
    ++loops;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    --loops;
    return quitCode;
}

void quit(int code) {
    quitCode = code;
    if (loops)
        PostQuitMessage(code); // the loop ends once this callback returns
    else
        quitPending = true; // asked before the loop runs: it ends at once
}

void *loadImage(const char *fileName) {
    return LoadImageW(nullptr, wide(fileName).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
}

void message(const char *title, const char *text) {
    const std::string ok = "OK";
    ask(title, text, &ok, 1, 1, 1, 1);
}

// A window of its own rather than MessageBox, whose buttons cannot be named.
int ask(const char *title, const char *text, const std::string *labels, int count, int enter, int escape,
        int active) {
    static const wchar_t *const className = L"StakkoQuestion";
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = questionProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = className;
    RegisterClassExW(&wc); // fails harmlessly once registered
    HFONT shownFont = theme.font ? theme.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring message = wide(text);
    HDC dc = GetDC(nullptr);
    SelectObject(dc, shownFont);
    RECT textRect{0, 0, 420, 0};
    DrawTextW(dc, message.c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    ReleaseDC(nullptr, dc);
    const int margin = 16, buttonWidth = 80, buttonHeight = 28;
    const int width = std::max<int>(textRect.right, count * (buttonWidth + 8)) + 2 * margin;
    const int height = textRect.bottom + buttonHeight + 3 * margin;
    HWND owner = GetActiveWindow();
    RECT frame{0, 0, width, height}, over;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU, exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    if (!owner || !GetWindowRect(owner, &over))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    HWND box = CreateWindowExW(exStyle, className, wide(title).c_str(), style, (over.left + over.right - w) / 2,
                               (over.top + over.bottom - h) / 2, w, h, owner, nullptr, wc.hInstance, nullptr);
    Question q{0, enter, escape};
    SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&q));
    HWND shown = CreateWindowExW(0, L"STATIC", message.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_EDITCONTROL,
                                 margin, margin, textRect.right, textRect.bottom, box, nullptr, wc.hInstance, nullptr);
    SendMessageW(shown, WM_SETFONT, reinterpret_cast<WPARAM>(shownFont), FALSE);
    HWND focused = nullptr;
    for (int i = 0; i < count; ++i) {
        HWND button = CreateWindowExW(0, L"BUTTON", wide(labels[i].c_str()).c_str(),
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i + 1 == enter ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                                      width - margin - (count - i) * (buttonWidth + 8) + 8, height - margin - buttonHeight,
                                      buttonWidth, buttonHeight, box, reinterpret_cast<HMENU>(static_cast<INT_PTR>(101 + i)),
                                      wc.hInstance, nullptr);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(shownFont), FALSE);
        if (i + 1 == (active ? active : enter ? enter : 1))
            focused = button;
    }
    if (owner)
        EnableWindow(owner, FALSE);
    ShowWindow(box, SW_SHOW);
    SetForegroundWindow(box);
    SetFocus(focused);
    MSG msg;
    while (!q.answer) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // for the loop outside
            q.answer = escape;
        } else if (!IsDialogMessageW(box, &msg)) { // Tab, Enter, Escape and the underlined letters
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (owner)
        EnableWindow(owner, TRUE); // before the box goes, so that the panel is active again
    DestroyWindow(box);
    return q.answer;
}

bool launch(const char *commandLine) {
    std::wstring line = wide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (line.empty() || !CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

} // namespace be
