// Cells on the board graph and the next-piece preview: where each plot goes, one plot per
// cell, erasing, and the graph hidden around every change.
#include "game_fixture.h"

#include <array>

using PaintingTest = RunningGameTest;

static std::string plotAt(int x, int y) {
    return "PlotBitmap(1, 10, " + std::to_string(x) + ", " + std::to_string(y) + ", 10, 10, null)";
}

TEST_F(PaintingTest, EachPaintReplacesTheCellsPlotWithTheGraphHidden) {
    // What; column, row, colour, failing plots; the calls between hiding and showing the graph.
    // The fake numbers the plots 1, 2, ... and the loaded images 100 (blank) to 106.
    const std::tuple<const char *, std::array<int, 4>, Log> cases[] = {
        {"column 1, row 1", {1, 1, 1, 0}, {plotAt(90, 190), "SetCtrlBitmap(1, 10, 1, 101)"}},
        {"column 10, row 20", {10, 20, 2, 0}, {plotAt(0, 0), "SetCtrlBitmap(1, 10, 2, 102)"}},
        {"the hidden row", {5, 0, 3, 0}, {plotAt(50, 200), "SetCtrlBitmap(1, 10, 3, 103)"}},
        {"painted again",
         {1, 1, 6, 0},
         {"DeleteGraphPlot(1, 10, 1, 1)", plotAt(90, 190), "SetCtrlBitmap(1, 10, 4, 106)"}},
        {"colour 7 erases", {1, 1, 7, 0}, {"DeleteGraphPlot(1, 10, 4, 1)"}},
        {"an empty cell has nothing to erase", {1, 1, 0, 0}, {}},
        {"colour -1 erases", {10, 20, -1, 0}, {"DeleteGraphPlot(1, 10, 2, 1)"}},
        {"colour 0 erases", {5, 0, 0, 0}, {"DeleteGraphPlot(1, 10, 3, 1)"}},
        {"a plot that fails", {3, 12, 4, 1}, {plotAt(70, 80)}},
        {"after a failed plot", {3, 12, 5, 0}, {plotAt(70, 80), "SetCtrlBitmap(1, 10, 5, 105)"}},
    };
    for (const auto &[what, paint, between] : cases) {
        fake::ui.log.clear();
        fake::ui.plotFailures = paint[3];
        PaintSquare(paint[0], paint[1], paint[2]);
        Log expected = between;
        expected.insert(expected.begin(), "SetCtrlAttribute(1, 10, 530, 0)");
        expected.push_back("SetCtrlAttribute(1, 10, 530, 1)");
        EXPECT_EQ(fake::ui.log, expected) << what;
    }
    EXPECT_EQ(boardPlots(), (CellPlots{{{3, 12}, colourBitmaps[5]}}));
}

TEST_F(PaintingTest, ThePreviewRedrawsEachShapeAroundItsOwnCell) {
    // The shape, its colour, where its four cells are plotted.
    const std::tuple<int, int, std::multiset<std::pair<double, double>>> cases[] = {
        {0, 4, {{20, 30}, {20, 20}, {20, 10}, {20, 0}}},
        {3, 1, {{20, 20}, {20, 10}, {10, 20}, {10, 10}}},
        {5, 6, {{20, 20}, {30, 20}, {20, 30}, {10, 20}}},
        // No piece has colour 0 or 7: every cell of such a preview is reported, and blank.
        {2, 0, {{20, 20}, {10, 20}, {20, 10}, {30, 10}}},
        {2, 7, {{20, 20}, {10, 20}, {20, 10}, {30, 10}}},
    };
    for (const auto &[shape, colour, expected] : cases) {
        fake::ui.log.clear();
        nextPiece = Piece{shape, 5, 1, 0, colour};
        DisplayNextPiece();
        EXPECT_EQ(fake::ui.log.front(), "DeleteGraphPlot(1, 2, -1, 1)");
        bool strange = colour < 1 || colour > 6;
        EXPECT_EQ(popups(), Log(strange ? 4 : 0, "MessagePopup(Strange, Should not happen.)"));
        std::multiset<std::pair<double, double>> places;
        for (const auto &[handle, plot] : fake::ui.plots[PANEL_NEXT]) {
            places.insert({plot.x, plot.y});
            EXPECT_EQ(plot.bitmap, colourBitmaps[strange ? 0 : colour]);
            EXPECT_TRUE(plot.width == 10 && plot.height == 10);
        }
        EXPECT_EQ(places, expected) << "shape " << shape << ", colour " << colour;
    }
}
