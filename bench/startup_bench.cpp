// Time from process start to the first shown window, for the game and for a bare Qt program,
// measured the same way in the same run: fork, exec, and wait for the X server to map a new
// top-level window. Needs an X display (scripts/bench.sh runs it under Xvfb).
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsToFirstWindow(Display *display, const char *program, const char *folder) {
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True); // drop events of earlier runs
    Clock::time_point started = Clock::now();
    pid_t child = fork();
    if (child == 0) {
        if (chdir(folder) == 0) {
            execl(program, program, static_cast<char *>(nullptr));
        }
        _exit(127);
    }
    double elapsed = -1;
    while (elapsed < 0 && Clock::now() - started < std::chrono::seconds(20)) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                elapsed = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
            }
        }
        usleep(200);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return elapsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main() {
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        fprintf(stderr, "no X display\n");
        return 1;
    }
    const std::string game = std::string(STAKKO_INSTALL_DIR) + "/KIVO_Stakko";
    std::vector<double> gameTimes, bareTimes;
    for (int run = 0; run < 11; run++) {
        gameTimes.push_back(millisecondsToFirstWindow(display, game.c_str(), STAKKO_INSTALL_DIR));
        bareTimes.push_back(millisecondsToFirstWindow(display, BARE_QT_WINDOW, "/"));
    }
    printf("Start-up to the first shown window (median of 11 runs):\n");
    printf("  Stakko:                  %.1f ms\n", median(gameTimes));
    printf("  bare Qt, one button:     %.1f ms\n", median(bareTimes));
    XCloseDisplay(display);
    return 0;
}
