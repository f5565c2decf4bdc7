// Bitmaps from files, graph plots and how the graph draws them: square cells that touch, the
// origin at the lower left, nothing outside the axis range.
#include "support.h"

#include "cvi_graph.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <set>

namespace {

class Graph : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(directory.isValid());
        ASSERT_EQ(
            GetBitmapFromFile(
                writeBmp(directory.path(), "red.bmp", 32, 32, 0xFF0000).toLocal8Bit().constData(),
                &red),
            0);
        GetBitmapFromFile(
            writeBmp(directory.path(), "blue.bmp", 32, 32, 0x0000FF).toLocal8Bit().constData(),
            &blue);
        GetBitmapFromFile(
            writeBmp(directory.path(), "green.bmp", 8, 8, 0x00FF00).toLocal8Bit().constData(),
            &green);
        panel = loadAndShowGood();
        graph = qobject_cast<CviGraph *>(control(panel, GOOD_BOARD));
        ASSERT_NE(graph, nullptr);
    }

    int plot(double x, double y, int bitmap) {
        const int handle = PlotBitmap(panel, GOOD_BOARD, x, y, 10, 10, nullptr);
        EXPECT_GE(handle, 1);
        EXPECT_EQ(SetCtrlBitmap(panel, GOOD_BOARD, handle, bitmap), 0);
        return handle;
    }

    // Where the pixels of exactly this colour lie, and how many there are.
    QRect bounds(QRgb rgb, int *count = nullptr) {
        const QImage image = graph->grab().toImage();
        QRect box;
        int found = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == rgb) {
                    box |= QRect(x, y, 1, 1);
                    ++found;
                }
        if (count)
            *count = found;
        return box;
    }

    QTemporaryDir directory;
    int red = 0, blue = 0, green = 0;
    int panel = 0;
    CviGraph *graph = nullptr;
};

} // namespace

TEST(Bitmaps, GoodMissingAndNonImageFiles) {
    QTemporaryDir directory;
    const QString good = writeBmp(directory.path(), "cell.bmp", 4, 4, 0x123456);
    int first = -1, second = -1;
    ASSERT_EQ(GetBitmapFromFile(good.toLocal8Bit().constData(), &first), 0);
    ASSERT_EQ(GetBitmapFromFile(good.toLocal8Bit().constData(), &second), 0);
    EXPECT_GE(first, 1);
    EXPECT_NE(first, second);

    QFile text(directory.path() + "/notes.bmp");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not an image at all\n");
    text.close();
    DisableBreakOnLibraryErrors();
    for (const QString &bad : {directory.path() + "/missing.bmp", text.fileName()}) {
        int id = 77;
        EXPECT_LT(GetBitmapFromFile(bad.toLocal8Bit().constData(), &id), 0) << bad.toStdString();
        EXPECT_TRUE(id == 77 || id == 0);
    }
    EnableBreakOnLibraryErrors();
}

TEST_F(Graph, PlotsSetDeleteOneAndAll) {
    const int a = plot(0, 0, red);
    const int b = plot(10, 0, blue);
    EXPECT_NE(a, b);
    EXPECT_EQ(graph->plotCount(), 2);
    EXPECT_LT(SetCtrlBitmap(panel, GOOD_BOARD, 9999, red), 0);          // no such plot
    EXPECT_LT(SetCtrlBitmap(panel, GOOD_BOARD, a, 9999), 0);            // no such bitmap
    EXPECT_LT(PlotBitmap(panel, GOOD_SCORE, 0, 0, 10, 10, nullptr), 0); // not a graph

    ASSERT_EQ(DeleteGraphPlot(panel, GOOD_BOARD, a, 1), 0);
    EXPECT_EQ(graph->plotCount(), 1);
    EXPECT_TRUE(bounds(0xFF0000).isEmpty());
    EXPECT_FALSE(bounds(0x0000FF).isEmpty());
    EXPECT_LT(DeleteGraphPlot(panel, GOOD_BOARD, a, 1), 0); // already gone

    plot(50, 50, red);
    ASSERT_EQ(DeleteGraphPlot(panel, GOOD_BOARD, -1, 1), 0);
    EXPECT_EQ(graph->plotCount(), 0);
    EXPECT_TRUE(bounds(0x0000FF).isEmpty());
}

TEST_F(Graph, HandlesAreUniqueAmongLiveAndDeletedPlots) {
    std::set<int> seen;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 200; ++i) {
            const int handle =
                PlotBitmap(panel, GOOD_BOARD, i % 10 * 10, i / 10 * 10, 10, 10, nullptr);
            ASSERT_GE(handle, 1);
            EXPECT_TRUE(seen.insert(handle).second) << handle;
        }
        DeleteGraphPlot(panel, GOOD_BOARD, -1, 1);
    }
}

TEST_F(Graph, OriginCellIsAtTheLowerLeft) {
    graph->resize(100, 200);
    plot(0, 0, red);
    EXPECT_EQ(bounds(0xFF0000), QRect(0, 190, 10, 10));
    plot(90, 190, blue);
    EXPECT_EQ(bounds(0x0000FF), QRect(90, 0, 10, 10));
}

TEST_F(Graph, NeighbourCellsTouchWithoutGapOrOverlap) {
    graph->resize(257, 333);
    plot(0, 0, red);
    plot(10, 0, blue);
    plot(0, 10, green);
    const QRect r = bounds(0xFF0000), b = bounds(0x0000FF), g = bounds(0x00FF00);
    ASSERT_FALSE(r.isEmpty() || b.isEmpty() || g.isEmpty());
    EXPECT_EQ(r.right() + 1, b.left());
    EXPECT_EQ(r.top(), b.top());
    EXPECT_EQ(g.bottom() + 1, r.top());
    EXPECT_EQ(g.left(), r.left());
    EXPECT_EQ(r.size(), b.size());
    EXPECT_EQ(r.size(), g.size());
}

TEST_F(Graph, CellsStaySquareAndCentredAtAnySize) {
    plot(0, 0, red);
    const QSize sizes[] = {{150, 200}, {257, 333}, {300, 300}, {100, 400}, {61, 500}, {400, 90}};
    for (QSize size : sizes) {
        graph->resize(size);
        // The largest whole-pixel cell that shows 10 x 20 cells.
        const int cell = std::min(size.width() / 10, size.height() / 20);
        const int left = (size.width() - 10 * cell) / 2;
        const int top = (size.height() - 20 * cell) / 2;
        EXPECT_EQ(bounds(0xFF0000), QRect(left, top + 19 * cell, cell, cell))
            << size.width() << " x " << size.height();
    }
}

TEST_F(Graph, PlotsBeyondTheAxisRangeAreNotDrawn) {
    graph->resize(100, 260); // 30 pixels above and below the range
    plot(0, 200, green);     // the row just above y = 200
    plot(-10, 0, blue);      // the column left of x = 0
    int greenPixels = -1, bluePixels = -1;
    bounds(0x00FF00, &greenPixels);
    bounds(0x0000FF, &bluePixels);
    EXPECT_EQ(greenPixels, 0);
    EXPECT_EQ(bluePixels, 0);
    plot(0, 190, red); // the top row inside the range is drawn
    EXPECT_EQ(bounds(0xFF0000), QRect(0, 30, 10, 10));
}

TEST_F(Graph, HidingAroundChangesKeepsTheLayout) {
    const int laidOut = LoadPanel(0, formPath("layout.ui").toLocal8Bit().constData(), 1);
    ASSERT_GE(laidOut, 1);
    panels.push_back(laidOut);
    DisplayPanel(laidOut);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panelWindow(laidOut)));
    QWidget *button = control(laidOut, 2);
    const QRect before = button->geometry();
    for (int i = 0; i < 20; ++i) {
        SetCtrlAttribute(laidOut, 10, ATTR_VISIBLE, 0);
        const int handle = PlotBitmap(laidOut, 10, 0, 0, 10, 10, nullptr);
        SetCtrlBitmap(laidOut, 10, handle, red);
        SetCtrlAttribute(laidOut, 10, ATTR_VISIBLE, 1);
        if (i == 10) {
            SetCtrlAttribute(laidOut, 10, ATTR_VISIBLE, 0);
            QApplication::processEvents(); // a layout pass while the graph is hidden
            EXPECT_EQ(button->geometry(), before);
            SetCtrlAttribute(laidOut, 10, ATTR_VISIBLE, 1);
        }
    }
    QApplication::processEvents();
    EXPECT_EQ(button->geometry(), before);
}
