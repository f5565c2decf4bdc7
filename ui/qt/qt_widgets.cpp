// The graph lays its axis range out in square cells that touch exactly and draws each plot's
// bitmap scaled into its cell; the lamp is a circle in its lit or dark colour.
#include "qt_widgets.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

int panelOf(const QWidget *widget) {
    return widget ? widget->window()->property("_panel").toInt() : 0;
}

int idOf(const QWidget *widget) {
    return widget->property("ctrlId").toInt();
}

void Graph::layOut() {
    const rt::Control *c = control();
    box = c ? rt::graphAxes(*c, width(), height(), &unit) : rt::Box{0, 0, 0, 0};
    axes = QRect(QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1));
}

QRect Graph::plotRect(const rt::Control &c, const rt::Plot &plot) const {
    const rt::Box b = rt::plotBox(c, box, unit, plot);
    return QRect(QPoint(b.left, b.top), QPoint(b.right - 1, b.bottom - 1));
}

void Graph::changed(const rt::Plot *plot) {
    // Only the cell's own square is repainted, at the next paint.
    const rt::Control *c = control();
    update(plot && c ? plotRect(*c, *plot) : rect());
}

void Graph::paintEvent(QPaintEvent *event) {
    const rt::Control *c = control();
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

void Graph::resizeEvent(QResizeEvent *event) {
    scaled.clear();
    layOut();
    QWidget::resizeEvent(event);
}

void Led::paintEvent(QPaintEvent *) {
    const rt::Control *c = control();
    const int diameter = std::min(width(), height()) - 2;
    if (!c || diameter <= 0)
        return;
    const QColor colour =
        QColor::fromRgb(static_cast<QRgb>(c->value != 0 ? c->onColour : c->offColour));
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(160), 1.0));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF((width() - diameter) / 2.0 + 0.5, (height() - diameter) / 2.0 + 0.5,
                               diameter - 1.0, diameter - 1.0));
}
