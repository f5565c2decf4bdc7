// The heaviest landing: a line piece completes the four bottom rows of a nearly full board,
// so four rows go and every cell above them is repainted through the Qt graph, then the
// panel is painted. Printed as time per landing and as a share of a 60 Hz frame.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include "bench_panel.h"
#include "board.h"
#include "game_state.h"
#include "painting.h"
#include "stakko.h"

namespace {

// Rows 5 to 20 are full but for one cell; rows 17 to 20 miss only column 5, where an upright
// line piece stands ready to land.
void setUpNearlyFullBoard() {
    for (int row = 1; row <= 20; row++) {
        for (int column = 1; column <= 10; column++) {
            int gap = row >= 17 ? 5 : 1 + row % 10;
            int colour = row < 5 || column == gap ? 0 : 1 + (row + column) % 6;
            board[column][row] = colour;
            PaintSquare(column, row, colour);
        }
    }
    currentPiece = Piece{0, 5, 18, 0, 3};
    PaintPiece(currentPiece, 1);
}

void heaviestLanding(benchmark::State &state) {
    QWidget *boardGraph = nullptr;
    for (QWidget *widget : QApplication::allWidgets()) {
        if (widget->objectName() == "PANEL_BOARD") {
            boardGraph = widget;
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        startGameAnsweringYes();
        SetCtrlAttribute(panelHandle, PANEL_TIMER, ATTR_ENABLED, 0);
        setUpNearlyFullBoard();
        QApplication::processEvents();
        state.ResumeTiming();

        TimerCallback(panelHandle, PANEL_TIMER, EVENT_TIMER_TICK, nullptr, 0, 0);
        boardGraph->repaint();
        QApplication::processEvents();
    }
    const double frame = 1.0 / 60.0;
    state.counters["share_of_60Hz_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * frame,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(heaviestLanding)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv) {
    openGamePanel();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
