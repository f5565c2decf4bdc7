// The graph lays its axis range out in square cells that touch exactly and draws each plot's
// bitmap scaled into its cell; the lamp is a circle in its lit or dark colour.
#include "qt_widgets.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace {

// A board cell is this many axis units wide; its pixel size is kept whole so that neighbouring
// cells neither overlap nor leave a gap.
constexpr double cellUnits = 10.0;

const rt::Control *controlOf(const QWidget *widget) {
    return rt::control(panelOf(widget), idOf(widget));
}

} // namespace

int panelOf(const QWidget *widget) {
    return widget ? widget->window()->property("_panel").toInt() : 0;
}

int idOf(const QWidget *widget) {
    return widget->property("ctrlId").toInt();
}

double Graph::unit() const {
    const rt::Control *c = controlOf(this);
    if (!c || !(c->xMax > c->xMin) || !(c->yMax > c->yMin))
        return 0;
    const double fit = std::min(width() / (c->xMax - c->xMin), height() / (c->yMax - c->yMin));
    return std::floor(fit * cellUnits + 1e-9) / cellUnits;
}

QRect Graph::area() const {
    const rt::Control *c = controlOf(this);
    const double u = unit();
    if (!c || u <= 0)
        return QRect();
    const int w = static_cast<int>(std::lround((c->xMax - c->xMin) * u));
    const int h = static_cast<int>(std::lround((c->yMax - c->yMin) * u));
    return QRect((width() - w) / 2, (height() - h) / 2, w, h);
}

QRect Graph::plotRect(const rt::Control &c, const rt::Plot &plot) const {
    const QRect a = area();
    const double u = unit();
    auto x = [&](double v) { return a.left() + static_cast<int>(std::lround((v - c.xMin) * u)); };
    auto y = [&](double v) { return a.bottom() + 1 - static_cast<int>(std::lround((v - c.yMin) * u)); };
    return QRect(QPoint(x(plot.x), y(plot.y + plot.height)),
                 QPoint(x(plot.x + plot.width) - 1, y(plot.y) - 1));
}

void Graph::changed(const rt::Plot *plot) {
    // Only the cell's own square is repainted, at the next paint.
    const rt::Control *c = controlOf(this);
    if (plot && c)
        update(plotRect(*c, *plot));
    else
        update();
}

void Graph::paintEvent(QPaintEvent *event) {
    const rt::Control *c = controlOf(this);
    const QRect a = area();
    if (!c || a.isEmpty())
        return;
    // The axis range takes the Base colour, which the style sheet sets; the panel shows beside.
    QPainter painter(this);
    painter.fillRect(a & event->rect(), palette().color(QPalette::Base));
    painter.setClipRect(a);
    for (const auto &entry : c->plots) {
        const auto *image = static_cast<const QImage *>(rt::bitmap(entry.second.bitmap));
        const QRect target = plotRect(*c, entry.second);
        if (!image || !target.intersects(event->rect()))
            continue;
        QPixmap &pixmap = scaled[image->cacheKey()];
        if (pixmap.size() != target.size() * devicePixelRatio()) {
            pixmap = QPixmap::fromImage(image->scaled(target.size() * devicePixelRatio(),
                                                      Qt::IgnoreAspectRatio,
                                                      Qt::SmoothTransformation));
            pixmap.setDevicePixelRatio(devicePixelRatio());
        }
        painter.drawPixmap(target.topLeft(), pixmap);
    }
}

void Graph::resizeEvent(QResizeEvent *event) {
    scaled.clear();
    QWidget::resizeEvent(event);
}

void Led::paintEvent(QPaintEvent *) {
    const rt::Control *c = controlOf(this);
    const int diameter = std::min(width(), height()) - 2;
    if (!c || diameter <= 0)
        return;
    const QColor colour = QColor::fromRgb(static_cast<QRgb>(c->value != 0 ? c->onColour : c->offColour));
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(160), 1.0));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF((width() - diameter) / 2.0 + 0.5, (height() - diameter) / 2.0 + 0.5,
                               diameter - 1.0, diameter - 1.0));
}
