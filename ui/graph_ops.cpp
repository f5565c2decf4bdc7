// Bitmaps and graph plots: the image registry that GetBitmapFromFile fills, and the plot
// operations on graph controls.
#include "cvi_graph.h"
#include "ui_runtime.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <deque>
#include <map>

namespace {

// Bitmap id n is entry n - 1; images stay for the whole run, as the game keeps its ids.
std::deque<QImage> bitmaps; // a deque: pointers to its images stay valid as it grows

CviGraph *findGraph(const char *operation, int panel, int control, int *error) {
    QWidget *widget = uirt::findControl(operation, panel, control, error);
    if (!widget)
        return nullptr;
    auto *graph = qobject_cast<CviGraph *>(widget);
    if (!graph) {
        *error = uirt::fail(operation, uirt::ERR_WRONG_CONTROL,
                            QStringLiteral("control %1 is not a graph").arg(control));
    }
    return graph;
}

// The game fetches its cell images anew at every game start: an unchanged file gives a new
// id whose image shares the pixels read before, so the ids cost almost nothing.
QImage loadImage(const QString &path) {
    struct Loaded {
        QDateTime modified;
        qint64 size;
        QImage image;
    };
    static std::map<QString, Loaded> loaded;
    const QFileInfo info(path);
    auto found = loaded.find(path);
    if (found != loaded.end() && found->second.modified == info.lastModified() &&
        found->second.size == info.size()) {
        return found->second.image;
    }
    QImage image = QImageReader(path).read();
    if (!image.isNull())
        loaded[path] = Loaded{info.lastModified(), info.size(), image};
    return image;
}

int readBitmap(const char *operation, const char *fileName, int *bitmapId) {
    if (!fileName || !bitmapId)
        return uirt::fail(operation, uirt::ERR_BAD_ARGUMENT, "null file name or bitmap id");
    const QString path = QString::fromLocal8Bit(fileName);
    if (!QFileInfo(path).isFile())
        return uirt::fail(operation, uirt::ERR_IMAGE_MISSING, "no file " + path);
    const QImage image = loadImage(path);
    if (image.isNull()) {
        return uirt::fail(operation, uirt::ERR_NOT_IMAGE, path + " is not a readable image");
    }
    bitmaps.push_back(image);
    *bitmapId = static_cast<int>(bitmaps.size());
    return 0;
}

} // namespace

namespace uirt {

const QImage *bitmapImage(int bitmapId) {
    if (bitmapId < 1 || bitmapId > static_cast<int>(bitmaps.size()))
        return nullptr;
    return &bitmaps[bitmapId - 1];
}

} // namespace uirt

int GetBitmapFromFile(const char *fileName, int *bitmapId) {
    return readBitmap("GetBitmapFromFile", fileName, bitmapId);
}

int PlotBitmap(int panel, int control, double x, double y, double width, double height,
               const char *fileName) {
    int error = 0;
    CviGraph *graph = findGraph("PlotBitmap", panel, control, &error);
    if (!graph)
        return error;
    if (!(width > 0) || !(height > 0)) {
        return uirt::fail("PlotBitmap", uirt::ERR_BAD_ARGUMENT,
                          QStringLiteral("plot size %1 x %2").arg(width).arg(height));
    }
    int bitmapId = 0;
    if (fileName && *fileName) {
        const int result = readBitmap("PlotBitmap", fileName, &bitmapId);
        if (result < 0)
            return result;
    }
    const int plot = graph->addPlot(x, y, width, height);
    graph->setPlotBitmap(plot, bitmapId);
    return plot;
}

int SetCtrlBitmap(int panel, int control, int imageId, int bitmapId) {
    int error = 0;
    CviGraph *graph = findGraph("SetCtrlBitmap", panel, control, &error);
    if (!graph)
        return error;
    // Bitmap 0 takes the image away from the plot.
    if (bitmapId != 0 && !uirt::bitmapImage(bitmapId)) {
        return uirt::fail("SetCtrlBitmap", uirt::ERR_BAD_BITMAP,
                          QStringLiteral("no bitmap %1").arg(bitmapId));
    }
    if (!graph->setPlotBitmap(imageId, bitmapId)) {
        return uirt::fail("SetCtrlBitmap", uirt::ERR_BAD_PLOT,
                          QStringLiteral("no plot %1 on graph %2").arg(imageId).arg(control));
    }
    return 0;
}

int DeleteGraphPlot(int panel, int control, int plotHandle, int) {
    int error = 0;
    CviGraph *graph = findGraph("DeleteGraphPlot", panel, control, &error);
    if (!graph)
        return error;
    // The graph always repaints through update(), which coalesces any number of changes.
    if (plotHandle == -1) {
        graph->deleteAllPlots();
        return 0;
    }
    if (!graph->deletePlot(plotHandle)) {
        return uirt::fail("DeleteGraphPlot", uirt::ERR_BAD_PLOT,
                          QStringLiteral("no plot %1 on graph %2").arg(plotHandle).arg(control));
    }
    return 0;
}
