// The LED control: painting of the lamp and its accessible state (an indicator, lit or dark).
#include "cvi_led.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace {

// Screen readers see the LED as an indicator whose "checked" state is whether it is lit.
class LedAccessible : public QAccessibleWidget {
  public:
    explicit LedAccessible(QWidget *widget) : QAccessibleWidget(widget, QAccessible::Indicator) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = static_cast<const CviLed *>(widget())->isLit();
        return state;
    }
};

QAccessibleInterface *ledAccessibleFactory(const QString &className, QObject *object) {
    if (className == QLatin1String("CviLed") && object && object->isWidgetType())
        return new LedAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

CviLed::CviLed(QWidget *parent) : QWidget(parent) {
    static bool factoryInstalled = false;
    if (!factoryInstalled) {
        QAccessible::installFactory(ledAccessibleFactory);
        factoryInstalled = true;
    }
    setAccessibleDescription(QStringLiteral("dark"));
}

void CviLed::setLit(bool on) {
    if (on == lit)
        return;
    lit = on;
    setAccessibleDescription(on ? QStringLiteral("lit") : QStringLiteral("dark"));
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
    update();
}

void CviLed::setOnColour(QRgb rgb) {
    onRgb = rgb & 0xFFFFFF;
    update();
}

void CviLed::setOffColour(QRgb rgb) {
    offRgb = rgb & 0xFFFFFF;
    update();
}

void CviLed::paintEvent(QPaintEvent *) {
    const int diameter = qMax(0, qMin(width(), height()) - 2);
    if (diameter == 0)
        return;
    const QColor colour = QColor::fromRgb(lit ? onRgb : offRgb);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(160), 1.0));
    painter.setBrush(colour);
    const QRectF lamp((width() - diameter) / 2.0 + 0.5, (height() - diameter) / 2.0 + 0.5,
                      diameter - 1.0, diameter - 1.0);
    painter.drawEllipse(lamp);
}
