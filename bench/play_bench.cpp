// CPU time per minute of play and per minute idle, and resident memory after 1000 game starts
// against that after the first, all on the real panel with the real event loop.
#include <cstdio>

#include "bench_panel.h"
#include "game_state.h"
#include "stakko.h"

namespace {

const double sampleSeconds = 20.0;

// CPU seconds per minute while the event loop runs for the sample.
double cpuPerMinute() {
    double before = processCpuSeconds();
    runEventLoop(sampleSeconds);
    return (processCpuSeconds() - before) * 60.0 / sampleSeconds;
}

} // namespace

int main() {
    openGamePanel();

    double idle = cpuPerMinute();
    // Pieces fall at the first pace and pile up untouched: a sample shorter than one game.
    startGameAnsweringYes();
    double playing = cpuPerMinute();
    printf("CPU time per minute idle:    %.3f s\n", idle);
    printf("CPU time per minute of play: %.3f s (no keys pressed)\n", playing);

    long afterFirst = residentKiB();
    for (int start = 2; start <= 1000; start++) {
        startGameAnsweringYes();
        // A few ticks of each game, so that every game plots cells and previews.
        for (int tick = 0; tick < 20; tick++) {
            TimerCallback(panelHandle, PANEL_TIMER, EVENT_TIMER_TICK, nullptr, 0, 0);
        }
        runEventLoop(0.0);
    }
    long afterThousand = residentKiB();
    printf("Resident memory after the first game start: %ld KiB\n", afterFirst);
    printf("Resident memory after 1000 game starts:     %ld KiB (%+ld KiB)\n", afterThousand,
           afterThousand - afterFirst);
    return 0;
}
