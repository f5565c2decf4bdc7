// Bitmaps from files, graph plots and how the graph draws them: square cells that touch, the
// origin at the lower left, nothing outside the axis range.
#include "support.h"

#include "cvi_graph.h"

#include <set>

namespace {

constexpr QRgb kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00;

class Graph : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        ASSERT_TRUE(directory.isValid());
        const auto bitmap = [this](const char *name, int side, QRgb rgb) {
            int id = -1;
            const QString path = writeBmp(directory.path(), name, side, side, rgb);
            EXPECT_EQ(GetBitmapFromFile(path.toLocal8Bit().constData(), &id), 0);
            return id;
        };
        red = bitmap("red.bmp", 32, kRed);
        blue = bitmap("blue.bmp", 32, kBlue);
        green = bitmap("green.bmp", 8, kGreen);
        panel = show();
        graph = qobject_cast<CviGraph *>(control(panel, GOOD_BOARD));
        ASSERT_NE(graph, nullptr);
    }

    int plot(double x, double y, int bitmap) {
        const int handle = PlotBitmap(panel, GOOD_BOARD, x, y, 10, 10, nullptr);
        EXPECT_GE(handle, 1);
        EXPECT_EQ(SetCtrlBitmap(panel, GOOD_BOARD, handle, bitmap), 0);
        return handle;
    }

    // Where the pixels of exactly this colour lie; empty when there are none.
    QRect bounds(QRgb rgb) {
        const QImage image = graph->grab().toImage();
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == rgb)
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    QTemporaryDir directory;
    int red = 0, blue = 0, green = 0;
    int panel = 0;
    CviGraph *graph = nullptr;
};

} // namespace

TEST_F(Graph, BitmapsComeFromImageFilesOnly) {
    int again = -1;
    const QString redFile = directory.path() + "/red.bmp";
    ASSERT_EQ(GetBitmapFromFile(redFile.toLocal8Bit().constData(), &again), 0);
    EXPECT_GE(red, 1);
    EXPECT_TRUE(again != red && red != blue && blue != green);
    const QString text = writeFile(directory.path() + "/notes.bmp", "not an image at all\n");
    const std::pair<QString, int> bad[] = {
        {directory.path() + "/missing.bmp", uirt::ERR_IMAGE_MISSING}, {text, uirt::ERR_NOT_IMAGE}};
    for (const auto &[file, error] : bad) {
        int id = 77;
        EXPECT_EQ(GetBitmapFromFile(file.toLocal8Bit().constData(), &id), error)
            << file.toStdString();
        EXPECT_TRUE(id == 77 || id == 0);
    }
}

TEST_F(Graph, PlotsSetDeleteOneAndAllWithUniqueHandles) {
    const int a = plot(0, 0, red);
    const int b = plot(10, 0, blue);
    EXPECT_NE(a, b);
    EXPECT_EQ(graph->plotCount(), 2);
    EXPECT_LT(SetCtrlBitmap(panel, GOOD_BOARD, 9999, red), 0);          // no such plot
    EXPECT_LT(SetCtrlBitmap(panel, GOOD_BOARD, a, 9999), 0);            // no such bitmap
    EXPECT_LT(PlotBitmap(panel, GOOD_SCORE, 0, 0, 10, 10, nullptr), 0); // not a graph

    ASSERT_EQ(DeleteGraphPlot(panel, GOOD_BOARD, a, 1), 0);
    EXPECT_EQ(graph->plotCount(), 1);
    EXPECT_TRUE(bounds(kRed).isEmpty());
    EXPECT_FALSE(bounds(kBlue).isEmpty());
    EXPECT_LT(DeleteGraphPlot(panel, GOOD_BOARD, a, 1), 0); // already gone

    plot(50, 50, red);
    ASSERT_EQ(DeleteGraphPlot(panel, GOOD_BOARD, -1, 1), 0);
    EXPECT_EQ(graph->plotCount(), 0);
    EXPECT_TRUE(bounds(kBlue).isEmpty());
    std::set<int> seen{a, b}; // handles stay unique among live and deleted plots
    for (int i = 0; i < 600; ++i) {
        if (i % 200 == 0)
            DeleteGraphPlot(panel, GOOD_BOARD, -1, 1);
        const int handle =
            PlotBitmap(panel, GOOD_BOARD, i % 10 * 10, i / 10 % 20 * 10, 10, 10, nullptr);
        ASSERT_GE(handle, 1);
        EXPECT_TRUE(seen.insert(handle).second) << handle;
    }
}

// At any size the cells are the largest whole-pixel squares that show 10 x 20 of them,
// centred, with (0, 0) at the lower left and neighbours touching without gap or overlap;
// nothing outside the axis range is drawn.
TEST_F(Graph, CellsAreSquareTouchingFromTheLowerLeftAndInsideTheAxisRange) {
    plot(0, 0, red);
    plot(10, 0, blue);
    plot(0, 10, green);
    const QSize sizes[] = {{100, 200}, {150, 200}, {257, 333}, {300, 300},
                           {100, 400}, {61, 500},  {400, 90}};
    for (QSize size : sizes) {
        graph->resize(size);
        const int cell = std::min(size.width() / 10, size.height() / 20);
        const int left = (size.width() - 10 * cell) / 2;
        const int bottom = (size.height() - 20 * cell) / 2 + 20 * cell; // below the lowest row
        SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
        EXPECT_EQ(bounds(kRed), QRect(left, bottom - cell, cell, cell));
        EXPECT_EQ(bounds(kBlue), QRect(left + cell, bottom - cell, cell, cell));
        EXPECT_EQ(bounds(kGreen), QRect(left, bottom - 2 * cell, cell, cell));
    }
    DeleteGraphPlot(panel, GOOD_BOARD, -1, 1);
    graph->resize(100, 260); // 30 pixels above and below the axis range
    plot(0, 200, green);     // the row just above y = 200
    plot(-10, 0, blue);      // the column left of x = 0
    plot(90, 190, red);      // the top right cell inside the range
    EXPECT_TRUE(bounds(kGreen).isEmpty());
    EXPECT_TRUE(bounds(kBlue).isEmpty());
    EXPECT_EQ(bounds(kRed), QRect(90, 30, 10, 10));
}

TEST_F(Graph, HidingAroundChangesKeepsTheLayout) {
    const int laidOut = show("layout.ui", 1);
    QWidget *button = control(laidOut, 2);
    const QRect before = button->geometry();
    for (int i = 0; i < 20; ++i) {
        SetCtrlAttribute(laidOut, 10, ATTR_VISIBLE, 0);
        SetCtrlBitmap(laidOut, 10, PlotBitmap(laidOut, 10, 0, 0, 10, 10, nullptr), red);
        QApplication::processEvents(); // a layout pass while the graph is hidden
        EXPECT_EQ(button->geometry(), before);
        SetCtrlAttribute(laidOut, 10, ATTR_VISIBLE, 1);
    }
    QApplication::processEvents();
    EXPECT_EQ(button->geometry(), before);
}
