// The application over Win32: the run-time's own files (fonts, colours, icons), the message
// loop, images, the modal pop-ups and starting other programs.
#include "w32.h"

#include <fstream>
#include <shlwapi.h>
#include <sstream>

namespace w32 {

Theme theme{};

namespace {

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
            if (tree + size_t{child} * nodeSize >= rcc.size())
                return std::string(); // a damaged file
            const size_t name = names + big(rcc, tree + child * nodeSize, 4);
            std::wstring text;
            for (unsigned i = 0; i < big(rcc, name, 2); ++i)
                text += static_cast<wchar_t>(big(rcc, name + 6 + 2 * i, 2));
            node = text == part ? child : 0;
        }
        if (!node)
            return std::string();
    }
    const size_t at = tree + node * nodeSize, bytes = data + big(rcc, at + 10, 4);
    if (big(rcc, at + 4, 2) & 7 || bytes + 4 > rcc.size()) // a folder, compressed or damaged
        return std::string();
    return rcc.substr(bytes + 4, big(rcc, bytes, 4));
}

// Windows reads an icon straight from PNG bytes.
HICON icon(std::string png) {
    return png.empty() ? nullptr
                       : CreateIconFromResourceEx(reinterpret_cast<BYTE *>(png.data()),
                                                  static_cast<DWORD>(png.size()), TRUE, 0x00030000,
                                                  0, 0, LR_DEFAULTCOLOR);
}

HFONT font(int pixels, bool bold) {
    return CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                       CLEARTYPE_QUALITY, 0, L"DejaVu Sans");
}

struct Question {
    const char *text;
    const std::string *labels;
    int count, enter, escape, active;
};

// The dialog's text above its buttons, laid out in pixels.
void layoutQuestion(HWND box, const Question &q) {
    HFONT font = theme.font ? theme.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring text = wide(q.text);
    HDC dc = GetDC(box);
    SelectObject(dc, font);
    RECT shown{0, 0, 420, 0};
    DrawTextW(dc, text.c_str(), -1, &shown,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    ReleaseDC(box, dc);
    const int margin = 16, buttonWidth = 80, buttonHeight = 28;
    const int width = std::max<int>(shown.right, q.count * (buttonWidth + 8)) + 2 * margin;
    const int height = shown.bottom + buttonHeight + 3 * margin;
    SetDlgItemTextW(box, 100, text.c_str());
    MoveWindow(GetDlgItem(box, 100), margin, margin, shown.right, shown.bottom, FALSE);
    for (int i = 0; i <= q.count; ++i) {
        SendDlgItemMessageW(box, 100 + i, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (i)
            MoveWindow(GetDlgItem(box, 100 + i),
                       width - margin - (q.count - i + 1) * (buttonWidth + 8) + 8,
                       height - margin - buttonHeight, buttonWidth, buttonHeight, FALSE);
        if (i)
            SetDlgItemTextW(box, 100 + i, wide(q.labels[i - 1].c_str()).c_str());
    }
    // Centred on the screen as MessageBox is: under Wine a box wholly over the panel stays black.
    RECT frame{0, 0, width, height}, over;
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(box, GWL_STYLE)), FALSE, 0);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    SetWindowPos(box, nullptr, (over.left + over.right - w) / 2, (over.top + over.bottom - h) / 2,
                 w, h, SWP_NOZORDER);
}

INT_PTR CALLBACK questionProc(HWND box, UINT message, WPARAM wp, LPARAM lp) {
    const auto *q = reinterpret_cast<const Question *>(GetWindowLongPtrW(box, DWLP_USER));
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(box, DWLP_USER, lp);
        q = reinterpret_cast<const Question *>(lp);
        layoutQuestion(box, *q);
        // Through the dialog manager, which makes the focused button the one Enter presses.
        const int first = q->active ? q->active : q->enter ? q->enter : 1;
        SendMessageW(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(box, 100 + first)),
                     TRUE);
        return FALSE; // the focus is set
    }
    if (message != WM_COMMAND || !q)
        return FALSE;
    // Buttons end it with their number; Escape and the close box with the escape button's.
    const int id = LOWORD(wp);
    if (id > 100 || id == IDCANCEL)
        EndDialog(box, id > 100 ? id - 100 : q->escape);
    return TRUE;
}

} // namespace
} // namespace w32

using namespace w32;

namespace be {

bool init() {
    SetProcessDPIAware(); // the form's sizes are pixels
    // Every file is read before any is applied, so that a missing one changes nothing.
    const std::string sheet = fileText("runtime\\stakkort.qss"),
                      rcc = fileText("runtime\\stakkort.rcc");
    HICON window = icon(resource(rcc, L"stakkort/stakko.png")),
          foot = icon(resource(rcc, L"stakkort/foot.png"));
    if (sheet.empty() || !window || !foot)
        return false;
    for (const wchar_t *file : {L"runtime\\DejaVuSans.ttf", L"runtime\\DejaVuSans-Bold.ttf"})
        if (!AddFontResourceExW(file, FR_PRIVATE, nullptr))
            return false;
    theme.panel = styleColour(sheet, "QWidget#PANEL", "background-color");
    theme.card = styleColour(sheet, "QFrame#nextCard", "background-color");
    theme.cardBorder = styleColour(sheet, "QFrame#nextCard", "border");
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
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return got == 0 ? static_cast<int>(msg.wParam) : -1; // WM_QUIT carries the code
}

void quit(int code) {
    PostQuitMessage(code); // the loop ends once this callback returns
}

void *loadImage(const char *fileName) {
    return LoadImageW(nullptr, wide(fileName).c_str(), IMAGE_BITMAP, 0, 0,
                      LR_LOADFROMFILE | LR_CREATEDIBSECTION);
}

void message(const char *title, const char *text) {
    const std::string ok = "OK";
    ask(title, text, &ok, 1, 1, 1, 1);
}

// A dialog made here rather than MessageBox, whose buttons cannot be named: the dialog manager
// gives Enter to the default button, Escape, Tab and the underlined letters.
int ask(const char *title, const char *text, const std::string *labels, int count, int enter,
        int escape, int active) {
    std::vector<WORD> form; // the dialog's template: its frame, then a text and the buttons
    auto add = [&form](DWORD style, const std::wstring &caption, int items) {
        const WORD header[] = {
            LOWORD(style), HIWORD(style), 0, 0, static_cast<WORD>(items), 0, 0, 1, 1, 0, 0};
        form.insert(form.end(), header, header + 11);
        form.insert(form.end(), caption.c_str(), caption.c_str() + caption.size() + 1);
    };
    add(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, wide(title), count + 1);
    for (int i = 0; i <= count; ++i) {
        if (form.size() % 2)
            form.push_back(0); // items begin on a DWORD boundary
        // Each button a group of its own: the game's arrow keys must not move the focus to Yes.
        const DWORD style =
            WS_CHILD | WS_VISIBLE |
            (i ? WS_TABSTOP | WS_GROUP | (i == enter ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)
               : SS_NOPREFIX);
        // A button, or the text: the window class's number, no text of its own, no data.
        const WORD low = LOWORD(style), high = HIWORD(style), id = static_cast<WORD>(100 + i);
        const WORD kind = i ? 0x0080 : 0x0082;
        const WORD item[] = {low, high, 0, 0, 0, 0, 1, 1, id, 0xFFFF, kind, 0, 0};
        form.insert(form.end(), item, item + 13);
    }
    // Owned by the shown panel, which stays unusable until answered, even when not active.
    HWND owner = GetActiveWindow();
    auto shown = [](HWND window, LPARAM found) {
        if (IsWindowVisible(window))
            *reinterpret_cast<HWND *>(found) = window;
        return IsWindowVisible(window) ? FALSE : TRUE;
    };
    if (!owner)
        EnumThreadWindows(GetCurrentThreadId(), shown, reinterpret_cast<LPARAM>(&owner));
    Question q{text, labels, count, enter, escape, active};
    const INT_PTR answer = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(form.data()), owner,
        questionProc, reinterpret_cast<LPARAM>(&q));
    return answer >= 1 && answer <= count ? static_cast<int>(answer) : escape;
}

bool launch(const char *commandLine) {
    std::wstring line = wide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (line.empty() || !CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

} // namespace be
