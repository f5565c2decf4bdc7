// The graph control: keeps its plots, lays the axis range out in square cells that touch
// exactly, and paints each plot's bitmap scaled into its cell from a pixmap cache.
#include "cvi_graph.h"

#include "ui_runtime.h"

#include <QImage>
#include <QPainter>
#include <climits>
#include <cmath>

namespace {

// A cell of the board is this many axis units wide; its pixel size is kept whole so that
// neighbouring cells neither overlap nor leave a gap.
constexpr double cellUnits = 10.0;

} // namespace

CviGraph::CviGraph(QWidget *parent) : QWidget(parent) {
    // Hidden and shown around every cell change: keep its place in the layout meanwhile.
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
}

void CviGraph::setXMinimum(double value) {
    xMin = value;
    rangeChanged();
}

void CviGraph::setXMaximum(double value) {
    xMax = value;
    rangeChanged();
}

void CviGraph::setYMinimum(double value) {
    yMin = value;
    rangeChanged();
}

void CviGraph::setYMaximum(double value) {
    yMax = value;
    rangeChanged();
}

void CviGraph::rangeChanged() {
    pixmapCache.clear();
    update();
}

int CviGraph::addPlot(double x, double y, double width, double height) {
    // Handles are never reused while a plot holds them, even after wrapping around.
    do {
        lastHandle = lastHandle == INT_MAX ? 1 : lastHandle + 1;
    } while (plots.count(lastHandle));
    plots[lastHandle] = Plot{x, y, width, height, 0};
    return lastHandle;
}

bool CviGraph::setPlotBitmap(int plot, int bitmapId) {
    auto found = plots.find(plot);
    if (found == plots.end())
        return false;
    found->second.bitmapId = bitmapId;
    update();
    return true;
}

bool CviGraph::deletePlot(int plot) {
    if (!plots.erase(plot))
        return false;
    update();
    return true;
}

void CviGraph::deleteAllPlots() {
    plots.clear();
    update();
}

CviGraph::Layout CviGraph::layoutNow() const {
    Layout layout;
    const double xRange = xMax - xMin;
    const double yRange = yMax - yMin;
    if (!(xRange > 0) || !(yRange > 0))
        return layout;
    // The largest square unit that shows the whole range, cut down to whole-pixel cells.
    const double fit = std::min(width() / xRange, height() / yRange);
    const double cellPixels = std::floor(fit * cellUnits + 1e-9);
    if (cellPixels < 1)
        return layout;
    layout.unit = cellPixels / cellUnits;
    const int areaWidth = static_cast<int>(std::lround(xRange * layout.unit));
    const int areaHeight = static_cast<int>(std::lround(yRange * layout.unit));
    layout.area =
        QRect((width() - areaWidth) / 2, (height() - areaHeight) / 2, areaWidth, areaHeight);
    return layout;
}

QRect CviGraph::axisArea() const {
    return layoutNow().area;
}

QRect CviGraph::plotRect(const Plot &plot, const Layout &layout) const {
    auto column = [&](double x) {
        return layout.area.left() + static_cast<int>(std::lround((x - xMin) * layout.unit));
    };
    auto line = [&](double y) { // y grows upward: measure from the bottom edge
        return layout.area.top() + layout.area.height() -
               static_cast<int>(std::lround((y - yMin) * layout.unit));
    };
    const int left = column(plot.x);
    const int right = column(plot.x + plot.width);
    const int top = line(plot.y + plot.height);
    const int bottom = line(plot.y);
    return QRect(left, top, right - left, bottom - top);
}

const QPixmap &CviGraph::scaled(int bitmapId, QSize size) {
    static const QPixmap none;
    const QImage *image = uirt::bitmapImage(bitmapId);
    if (!image || size.isEmpty())
        return none;
    // Keyed by the image's pixels, not its id: ids of the same file share one scaled pixmap.
    const auto key = std::make_tuple(image->cacheKey(), size.width(), size.height());
    auto cached = pixmapCache.find(key);
    if (cached != pixmapCache.end())
        return cached->second;
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap = QPixmap::fromImage(
        image->scaled(size * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    return pixmapCache[key] = pixmap;
}

void CviGraph::paintEvent(QPaintEvent *) {
    const Layout layout = layoutNow();
    if (layout.area.isEmpty())
        return;
    // Beside the axis range the panel shows through; the range itself takes the Base colour,
    // which a style sheet's "CviGraph { background-color: ... }" sets.
    QPainter painter(this);
    painter.fillRect(layout.area, palette().color(QPalette::Base));
    // Plots beyond the axis range are not shown.
    painter.setClipRect(layout.area);
    for (const auto &entry : plots) {
        const Plot &plot = entry.second;
        if (plot.bitmapId <= 0)
            continue;
        const QRect target = plotRect(plot, layout);
        if (!target.intersects(layout.area))
            continue;
        const QPixmap &pixmap = scaled(plot.bitmapId, target.size());
        if (!pixmap.isNull())
            painter.drawPixmap(target.topLeft(), pixmap);
    }
}

void CviGraph::resizeEvent(QResizeEvent *event) {
    pixmapCache.clear();
    QWidget::resizeEvent(event);
}
