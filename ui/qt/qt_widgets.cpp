// The graph lays its axis range out in square cells that touch exactly and draws each plot's
// bitmap scaled into its cell; the lamp is a circle in its lit or dark colour.
#include "qt_widgets.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

int panelOf(const QWidget *widget) {
    return widget->window()->property("_panel").toInt();
}

int idOf(const QWidget *widget) {
    return widget->property("ctrlId").toInt();
}

static const rt::Control *controlOf(const QWidget *widget) {
    return rt::control(panelOf(widget), idOf(widget));
}

static QRect rectOf(const rt::Box &b) {
    return QRect(b.left, b.top, b.right - b.left, b.bottom - b.top);
}

QRect Graph::plotRect(const rt::Control &c, const rt::Plot &plot) const {
    return rectOf(rt::plotBox(c, box, unit, plot));
}

void Graph::changed(const rt::Control &c, const rt::Plot *plot) {
    update(plot ? plotRect(c, *plot) : rect()); // only the cell's own square, at the next paint
}

void Graph::paintEvent(QPaintEvent *event) {
    const rt::Control *c = controlOf(this);
    const QRect axes = rectOf(box);
    // Opaque, so that nothing beneath is painted first: the panel's colour beside the axis
    // range, the graph's own within it.
    QPainter painter(this);
    painter.fillRect(event->rect(), parentWidget()->palette().color(QPalette::Window));
    if (!c || axes.isEmpty())
        return;
    painter.fillRect(axes & event->rect(), palette().color(QPalette::Window));
    painter.setClipRect(axes);
    for (const auto &entry : c->plots) {
        const auto *image = static_cast<const QImage *>(rt::bitmap(entry.second.bitmap));
        const QRect target = plotRect(*c, entry.second);
        if (!image || !target.intersects(event->rect()))
            continue;
        QPixmap &pixmap = scaled[image->cacheKey()];
        if (pixmap.size() != target.size() * devicePixelRatio()) {
            pixmap =
                QPixmap::fromImage(image->scaled(target.size() * devicePixelRatio(),
                                                 Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            pixmap.setDevicePixelRatio(devicePixelRatio());
        }
        painter.drawPixmap(target.topLeft(), pixmap);
    }
}

void Graph::resizeEvent(QResizeEvent *) {
    scaled.clear();
    if (const rt::Control *c = controlOf(this)) // none before its panel's handle; then at show
        box = rt::graphAxes(*c, width(), height(), &unit);
}

void Led::paintEvent(QPaintEvent *) {
    const rt::Control *c = controlOf(this);
    if (!c)
        return;
    const QColor colour =
        QColor::fromRgb(static_cast<QRgb>(c->value != 0 ? c->onColour : c->offColour));
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(160), 1.0));
    painter.setBrush(colour);
    // Round in the middle, its 1-pixel outline inside the widget.
    const double radius = std::min(width(), height()) / 2.0 - 1.5;
    painter.drawEllipse(QRectF(rect()).center(), radius, radius);
}
