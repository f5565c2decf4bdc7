// Which event reaches which callback, and when; key codes and pop-up labels; the event loop,
// pop-ups, programs and files as every platform offers them to the game.
#include "rt.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

int breakOnLibraryErrors = 0; // the program logs nothing unless a developer asks

void callPanel(int panel, int event, int eventData1) {
    rt::Panel *p = rt::panel(panel);
    if (p && p->callback)
        p->callback(panel, event, nullptr, eventData1, 0);
}

// Looked up anew for every event: a callback may have discarded the panel.
void callControl(int panel, int control, int event, int eventData1, int eventData2) {
    rt::Control *c = rt::control(panel, control);
    if (c && c->callback && !c->dimmed) // a dimmed control cannot be used
        c->callback(panel, control, event, nullptr, eventData1, eventData2);
}

} // namespace

namespace rt {

int fail(const char *operation, int code) {
    if (breakOnLibraryErrors)
        std::fprintf(stderr, "KIVO_Stakko run-time: %s failed (%d)\n", operation, code);
    return code;
}

void *programFunction(const std::string &name) {
#ifdef _WIN32
    return reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(nullptr), name.c_str()));
#else
    // Only the program's own functions: a damaged form must not get a library's called.
    static int anchor;
    void *symbol = dlsym(RTLD_DEFAULT, name.c_str());
    Dl_info found, program;
    if (!symbol || !dladdr(symbol, &found) || !dladdr(&anchor, &program) ||
        found.dli_fbase != program.dli_fbase)
        return nullptr;
    return symbol;
#endif
}

void keyPressed(int panel, int keyCode) {
    callPanel(panel, EVENT_KEYPRESS, keyCode);
}

void committed(int panel, int control) {
    callControl(panel, control, EVENT_COMMIT, 0, 0);
}

void leftClicked(int panel, int control, int y, int x) {
    callControl(panel, control, EVENT_LEFT_CLICK, y, x);
}

void closeBoxPressed(int panel) {
    callPanel(panel, EVENT_CLOSE, 0);
    if (Panel *p = rt::panel(panel); p && p->closeCtrl)
        committed(panel, p->closeCtrl);
}

void resized(int panel, int height, int width) {
    Panel *p = rt::panel(panel);
    // The window system confirming the program's own size is no resize by the player.
    if (!p || (p->setHeight == height && p->setWidth == width))
        return;
    p->setHeight = p->setWidth = 0;
    callPanel(panel, EVENT_PANEL_SIZE, 0);
}

void timerFired(int panel, int control) {
    Control *timer = rt::control(panel, control);
    // A pop-up opened by the tick runs a loop of its own: no tick inside the one still running.
    if (!timer || !timer->enabled || timer->inTick)
        return;
    timer->inTick = true;
    callControl(panel, control, EVENT_TIMER_TICK, 0, 0);
    if ((timer = rt::control(panel, control)))
        timer->inTick = false;
}

int keyCode(Key key, int character, bool ctrl, bool shift) {
    static const int virtualKeys[] = {0, VAL_UP_ARROW_VKEY, VAL_DOWN_ARROW_VKEY,
                                      VAL_LEFT_ARROW_VKEY, VAL_RIGHT_ARROW_VKEY};
    return (key == KEY_OTHER ? character & 0xFF : virtualKeys[key]) |
           (ctrl ? VAL_MENUKEY_MODIFIER : 0) | (shift ? VAL_SHIFT_MODIFIER : 0);
}

std::string buttonText(const char *label) {
    std::string out;
    for (const char *at = label; *at; ++at) {
        if (*at == '&')
            out += "&&"; // a plain ampersand stays a character
        else if (at[0] == '_' && at[1] == '_' && at[2])
            out += '&', ++at;
        else
            out += *at;
    }
    return out;
}

} // namespace rt

int InitCVIRTEEx(void *, char *[], void *) {
    return be::init() ? 1 : rt::fail("InitCVIRTEEx", 0);
}

int RunUserInterface(void) {
    return be::run();
}

int QuitUserInterface(int returnCode) {
    be::quit(returnCode);
    return 0;
}

int ProcessDrawEvents(void) {
    be::drawNow();
    return 0;
}

int MessagePopup(const char *title, const char *message) {
    be::message(title ? title : "", message ? message : "");
    return 0;
}

int GenericMessagePopup(const char *title, const char *message, const char *button1,
                        const char *button2, const char *button3, char *, int, int,
                        int activeControl, int enterButton, int escapeButton) {
    std::string labels[3];
    int count = 0;
    for (const char *label : {button1, button2, button3})
        if (label && *label)
            labels[count++] = rt::buttonText(label);
    if (count == 0)
        return rt::fail("GenericMessagePopup", rt::ERR_BAD_ATTRIBUTE);
    auto number = [count](int n) { return n >= 1 && n <= count ? n : 0; };
    // Without an escape button, Escape answers the last one.
    const int escape = number(escapeButton) ? escapeButton : count;
    return be::ask(title ? title : "", message ? message : "", labels, count, number(enterButton),
                   escape, number(activeControl));
}

int LaunchExecutable(const char *commandLine) {
    return commandLine && be::launch(commandLine) ? 0
                                                  : rt::fail("LaunchExecutable", rt::ERR_LAUNCH);
}

int CVI_GetFileSize(const char *fileName, long *size) {
    struct stat status;
    if (!fileName)
        return rt::fail("CVI_GetFileSize", rt::ERR_FILE_OTHER);
    if (stat(fileName, &status) != 0) {
        const int reason = errno;
        return rt::fail("CVI_GetFileSize", reason == ENOENT || reason == ENOTDIR
                                               ? rt::ERR_FILE_NOT_FOUND
                                           : reason == ENOMEM ? rt::ERR_OUT_OF_MEMORY
                                                              : rt::ERR_FILE_OTHER);
    }
    if (!S_ISREG(status.st_mode))
        return rt::fail("CVI_GetFileSize", rt::ERR_FILE_OTHER);
    if (size)
        *size = static_cast<long>(status.st_size);
    return 0;
}

int GetBreakOnLibraryErrors(void) {
    return breakOnLibraryErrors;
}

int EnableBreakOnLibraryErrors(void) {
    const int previous = breakOnLibraryErrors;
    breakOnLibraryErrors = 1;
    return previous;
}

int DisableBreakOnLibraryErrors(void) {
    const int previous = breakOnLibraryErrors;
    breakOnLibraryErrors = 0;
    return previous;
}
