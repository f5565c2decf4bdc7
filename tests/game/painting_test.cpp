// Cells on the board graph and the next-piece preview: where each plot goes, one plot per
// cell, erasing, and the graph hidden around every change.
#include "game_fixture.h"

#include <set>

#include "board.h"
#include "install_check.h"
#include "painting.h"
#include "preview.h"
#include "stakko.h"

namespace {

const std::string hideBoard = "SetCtrlAttribute(1, 10, 530, 0)";
const std::string showBoard = "SetCtrlAttribute(1, 10, 530, 1)";

class PaintingTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        startRunningGame();
        fake::ui.log.clear();
    }

    static std::multiset<std::pair<double, double>> previewPlaces() {
        std::multiset<std::pair<double, double>> places;
        for (const auto &[handle, plot] : fake::ui.plots[PANEL_NEXT]) {
            places.insert({plot.x, plot.y});
        }
        return places;
    }
};

TEST_F(PaintingTest, CellsArePlottedWhereTheirColumnAndRowSay) {
    const struct {
        int column, row;
        const char *plot;
        int xIndex, yIndex;
    } cases[] = {
        {1, 1, "PlotBitmap(1, 10, 90, 190, 10, 10, null)", 9, 19},
        {10, 20, "PlotBitmap(1, 10, 0, 0, 10, 10, null)", 0, 0},
        {5, 0, "PlotBitmap(1, 10, 50, 200, 10, 10, null)", 5, 20},
        {3, 12, "PlotBitmap(1, 10, 70, 80, 10, 10, null)", 7, 8},
    };
    int colour = 1;
    for (const auto &test : cases) {
        fake::ui.log.clear();
        PaintSquare(test.column, test.row, colour);
        int plot = cellPlots[test.xIndex][test.yIndex];
        EXPECT_GE(plot, 1) << test.plot;
        EXPECT_EQ(fake::ui.log,
                  (std::vector<std::string>{hideBoard, test.plot,
                                            "SetCtrlBitmap(1, 10, " + std::to_string(plot) + ", " +
                                                std::to_string(colourBitmaps[colour]) + ")",
                                            showBoard}));
        colour++;
    }
}

TEST_F(PaintingTest, PaintingACellAgainReplacesItsPlot) {
    PaintSquare(4, 7, 2);
    int first = cellPlots[6][13];
    PaintSquare(4, 7, 2);
    PaintSquare(4, 7, 5);
    EXPECT_EQ(fake::ui.plots[PANEL_BOARD].size(), 1u);
    EXPECT_EQ(boardPlots(), (CellPlots{{{4, 7}, colourBitmaps[5]}}));
    EXPECT_EQ(fake::ui.log[4], hideBoard);
    EXPECT_EQ(fake::ui.log[5], "DeleteGraphPlot(1, 10, " + std::to_string(first) + ", 1)");
}

TEST_F(PaintingTest, ErasingAnEmptyCellDeletesNothing) {
    PaintSquare(2, 2, 0);
    EXPECT_EQ(fake::ui.log, (std::vector<std::string>{hideBoard, showBoard}));
    EXPECT_EQ(cellPlots[8][18], 0);
}

TEST_F(PaintingTest, ColoursOutsideOneToSixErase) {
    for (int colour : {0, 7, -1, 100}) {
        PaintSquare(6, 9, 3);
        int plot = cellPlots[4][11];
        fake::ui.log.clear();
        PaintSquare(6, 9, colour);
        EXPECT_EQ(
            fake::ui.log,
            (std::vector<std::string>{
                hideBoard, "DeleteGraphPlot(1, 10, " + std::to_string(plot) + ", 1)", showBoard}))
            << colour;
        EXPECT_EQ(cellPlots[4][11], 0) << colour;
        EXPECT_TRUE(fake::ui.plots[PANEL_BOARD].empty()) << colour;
    }
}

TEST_F(PaintingTest, AFailedPlotLeavesTheCellEmpty) {
    PaintSquare(7, 3, 4);
    fake::ui.plotFailures = 1;
    PaintSquare(7, 3, 6);
    EXPECT_EQ(cellPlots[3][17], 0);
    EXPECT_TRUE(fake::ui.plots[PANEL_BOARD].empty());
    EXPECT_TRUE(fake::callsStartingWith("SetCtrlBitmap(1, 10, -1").empty());
    // The next paint starts from an empty cell.
    fake::ui.log.clear();
    PaintSquare(7, 3, 6);
    EXPECT_TRUE(fake::callsStartingWith("DeleteGraphPlot").empty());
    EXPECT_EQ(boardPlots().size(), 1u);
}

TEST_F(PaintingTest, APieceIsPaintedAndErasedCellByCell) {
    const Piece piece{1, 4, 6, 2, 5};
    PaintSquare(4, 6, 2); // a stale cell under the pivot
    fake::ui.log.clear();
    PaintPiece(piece, 1);
    EXPECT_EQ(fake::callsStartingWith(hideBoard).size(), 4u);
    const int yellow = colourBitmaps[5];
    EXPECT_EQ(boardPlots(),
              (CellPlots{{{4, 6}, yellow}, {{3, 5}, yellow}, {{4, 5}, yellow}, {{4, 7}, yellow}}));
    EXPECT_EQ(fake::ui.plots[PANEL_BOARD].size(), 4u);

    PaintSquare(3, 5, 0); // one cell already empty when the piece is erased
    PaintPiece(piece, 0);
    EXPECT_TRUE(fake::ui.plots[PANEL_BOARD].empty());
    for (const auto &[c, r] : pieceCells(piece)) {
        EXPECT_EQ(cellPlots[10 - c][20 - r], 0);
    }
}

TEST_F(PaintingTest, ThePreviewDrawsEachShapeAroundItsOwnCell) {
    const struct {
        int shape;
        std::multiset<std::pair<double, double>> places;
    } cases[] = {
        {0, {{20, 30}, {20, 20}, {20, 10}, {20, 0}}},
        {3, {{20, 20}, {20, 10}, {10, 20}, {10, 10}}},
        {5, {{20, 20}, {30, 20}, {20, 30}, {10, 20}}},
    };
    for (const auto &test : cases) {
        nextPiece = Piece{test.shape, 5, 1, 0, 4};
        DisplayNextPiece();
        EXPECT_EQ(previewPlaces(), test.places) << "shape " << test.shape;
        for (const auto &[handle, plot] : fake::ui.plots[PANEL_NEXT]) {
            EXPECT_EQ(plot.bitmap, colourBitmaps[4]);
            EXPECT_EQ(plot.width, 10);
            EXPECT_EQ(plot.height, 10);
        }
    }
}

TEST_F(PaintingTest, ANewPreviewDeletesTheOldOneFirst) {
    nextPiece = Piece{6, 5, 1, 0, 2};
    DisplayNextPiece();
    fake::ui.log.clear();
    DisplayNextPiece();
    ASSERT_FALSE(fake::ui.log.empty());
    EXPECT_EQ(fake::ui.log.front(), "DeleteGraphPlot(1, 2, -1, 1)");
    EXPECT_EQ(fake::ui.plots[PANEL_NEXT].size(), 4u);
    EXPECT_EQ(fake::callsStartingWith("SetCtrlAttribute(1, 2, 530, 0)").size(), 4u);
    EXPECT_EQ(fake::callsStartingWith("SetCtrlAttribute(1, 2, 530, 1)").size(), 4u);
}

TEST_F(PaintingTest, APreviewInAColourNoPieceHasIsReportedForEveryCell) {
    for (int colour : {0, 7}) {
        fake::ui.log.clear();
        nextPiece = Piece{2, 5, 1, 0, colour};
        DisplayNextPiece();
        EXPECT_EQ(popups(),
                  std::vector<std::string>(4, "MessagePopup(Strange, Should not happen.)"))
            << colour;
        EXPECT_EQ(fake::ui.plots[PANEL_NEXT].size(), 4u);
        for (const auto &[handle, plot] : fake::ui.plots[PANEL_NEXT]) {
            EXPECT_EQ(plot.bitmap, colourBitmaps[0]) << colour;
        }
    }
}

} // namespace
