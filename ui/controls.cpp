// The operations on controls: values of numerics, LEDs and text boxes, and the attributes
// (dimming, visibility, button and LED colours, timer interval and enabling), and focus.
#include "cvi_led.h"
#include "cvi_timer.h"
#include "ui_runtime.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <cmath>

namespace {

const char *const setColourProperty = "_stakkoButtonColour";
const char *const styleColourProperty = "_stakkoStyleColour";

int clampToInt(double value) {
    if (!(value == value)) // NaN
        return 0;
    return static_cast<int>(std::lround(qBound(-2147483648.0, value, 2147483647.0)));
}

// The button's colour as its style and palette give it, read once before any change.
int styleColour(QPushButton *button) {
    QVariant known = button->property(styleColourProperty);
    if (known.isValid())
        return known.toInt();
    button->ensurePolished();
    const QBrush brush = button->palette().brush(QPalette::Active, QPalette::Button);
    QColor colour = brush.color();
    if (brush.gradient() && !brush.gradient()->stops().isEmpty())
        colour = brush.gradient()->stops().first().second;
    const int rgb = static_cast<int>(colour.rgb() & 0xFFFFFF);
    button->setProperty(styleColourProperty, rgb);
    return rgb;
}

void setButtonColour(QPushButton *button, int rgb) {
    rgb &= 0xFFFFFF;
    // Back to the style's own colour: drop the override so hover and press looks return.
    if (rgb == styleColour(button)) {
        button->setStyleSheet(QString());
        button->setProperty(setColourProperty, QVariant());
        return;
    }
    // Dark text on a light colour such as the held look's green, light text on a dark one.
    const int brightness =
        (299 * (rgb >> 16) + 587 * ((rgb >> 8) & 0xFF) + 114 * (rgb & 0xFF)) / 1000;
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: #%1; color: %2; }")
                              .arg(rgb, 6, 16, QLatin1Char('0'))
                              .arg(brightness > 140 ? "#101418" : "#f4f6fa"));
    button->setProperty(setColourProperty, rgb);
}

int buttonColour(QPushButton *button) {
    const QVariant set = button->property(setColourProperty);
    return set.isValid() ? set.toInt() : styleColour(button);
}

int setValue(const char *operation, QWidget *widget, double value, bool isInt) {
    if (auto *spin = qobject_cast<QSpinBox *>(widget)) {
        spin->setValue(clampToInt(value));
    } else if (auto *doubleSpin = qobject_cast<QDoubleSpinBox *>(widget)) {
        doubleSpin->setValue(value);
    } else if (auto *led = qobject_cast<CviLed *>(widget)) {
        led->setLit(value != 0);
    } else if (auto *button = qobject_cast<QAbstractButton *>(widget);
               button && button->isCheckable()) {
        button->setChecked(value != 0);
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->setText(isInt ? QString::number(clampToInt(value)) : QString::number(value));
    } else {
        return uirt::fail(operation, uirt::ERR_WRONG_CONTROL,
                          widget->objectName() + " takes no numeric value");
    }
    return 0;
}

int getValue(const char *operation, QWidget *widget, double *value) {
    if (auto *spin = qobject_cast<QSpinBox *>(widget))
        *value = spin->value();
    else if (auto *doubleSpin = qobject_cast<QDoubleSpinBox *>(widget))
        *value = doubleSpin->value();
    else if (auto *led = qobject_cast<CviLed *>(widget))
        *value = led->isLit() ? 1 : 0;
    else if (auto *button = qobject_cast<QAbstractButton *>(widget);
             button && button->isCheckable())
        *value = button->isChecked() ? 1 : 0;
    else
        return uirt::fail(operation, uirt::ERR_WRONG_CONTROL,
                          widget->objectName() + " has no numeric value");
    return 0;
}

int badAttribute(const char *operation, QWidget *widget, int attribute) {
    return uirt::fail(operation, uirt::ERR_BAD_ATTRIBUTE,
                      QStringLiteral("attribute %1 does not apply to ").arg(attribute) +
                          widget->objectName());
}

int setAttribute(QWidget *widget, int attribute, double value) {
    const char *operation = "SetCtrlAttribute";
    auto *button = qobject_cast<QPushButton *>(widget);
    auto *led = qobject_cast<CviLed *>(widget);
    auto *timer = qobject_cast<CviTimer *>(widget);
    switch (attribute) {
    case ATTR_DIMMED:
        widget->setEnabled(value == 0);
        return 0;
    case ATTR_VISIBLE:
        if (!timer) // a timer is never shown
            widget->setVisible(value != 0);
        return 0;
    case ATTR_CMD_BUTTON_COLOR:
        if (!button)
            return badAttribute(operation, widget, attribute);
        setButtonColour(button, clampToInt(value));
        return 0;
    case ATTR_ON_COLOR:
    case ATTR_OFF_COLOR:
        if (!led)
            return badAttribute(operation, widget, attribute);
        if (attribute == ATTR_ON_COLOR)
            led->setOnColour(static_cast<QRgb>(clampToInt(value)));
        else
            led->setOffColour(static_cast<QRgb>(clampToInt(value)));
        return 0;
    case ATTR_INTERVAL:
        if (!timer)
            return badAttribute(operation, widget, attribute);
        timer->setInterval(value);
        return 0;
    case ATTR_ENABLED:
        if (!timer)
            return badAttribute(operation, widget, attribute);
        timer->setTicking(value != 0);
        return 0;
    default:
        return badAttribute(operation, widget, attribute);
    }
}

} // namespace

int SetCtrlVal(int panel, int control, int value) {
    int error = 0;
    QWidget *widget = uirt::findControl("SetCtrlVal", panel, control, &error);
    return widget ? setValue("SetCtrlVal", widget, value, true) : error;
}

int SetCtrlVal(int panel, int control, double value) {
    int error = 0;
    QWidget *widget = uirt::findControl("SetCtrlVal", panel, control, &error);
    return widget ? setValue("SetCtrlVal", widget, value, false) : error;
}

int GetCtrlVal(int panel, int control, double *value) {
    int error = 0;
    QWidget *widget = uirt::findControl("GetCtrlVal", panel, control, &error);
    if (!widget)
        return error;
    if (!value)
        return uirt::fail("GetCtrlVal", uirt::ERR_BAD_ARGUMENT, "no place for the value");
    return getValue("GetCtrlVal", widget, value);
}

int GetCtrlVal(int panel, int control, int *value) {
    double read = 0;
    const int error = GetCtrlVal(panel, control, value ? &read : nullptr);
    if (error == 0)
        *value = clampToInt(read);
    return error;
}

int SetCtrlAttribute(int panel, int control, int attribute, int value) {
    int error = 0;
    QWidget *widget = uirt::findControl("SetCtrlAttribute", panel, control, &error);
    return widget ? setAttribute(widget, attribute, value) : error;
}

int SetCtrlAttribute(int panel, int control, int attribute, double value) {
    int error = 0;
    QWidget *widget = uirt::findControl("SetCtrlAttribute", panel, control, &error);
    return widget ? setAttribute(widget, attribute, value) : error;
}

int GetCtrlAttribute(int panel, int control, int attribute, int *value) {
    const char *operation = "GetCtrlAttribute";
    int error = 0;
    QWidget *widget = uirt::findControl(operation, panel, control, &error);
    if (!widget)
        return error;
    if (!value)
        return uirt::fail(operation, uirt::ERR_BAD_ARGUMENT, "no place for the value");
    auto *button = qobject_cast<QPushButton *>(widget);
    auto *led = qobject_cast<CviLed *>(widget);
    auto *timer = qobject_cast<CviTimer *>(widget);
    if (attribute == ATTR_DIMMED)
        *value = widget->isEnabled() ? 0 : 1;
    else if (attribute == ATTR_VISIBLE)
        *value = widget->isHidden() ? 0 : 1;
    else if (attribute == ATTR_CMD_BUTTON_COLOR && button)
        *value = buttonColour(button);
    else if (attribute == ATTR_ON_COLOR && led)
        *value = static_cast<int>(led->onColour());
    else if (attribute == ATTR_OFF_COLOR && led)
        *value = static_cast<int>(led->offColour());
    else if (attribute == ATTR_ENABLED && timer)
        *value = timer->isTicking() ? 1 : 0;
    else
        return badAttribute(operation, widget, attribute);
    return 0;
}

int SetActiveCtrl(int panel, int control) {
    int error = 0;
    QWidget *widget = uirt::findControl("SetActiveCtrl", panel, control, &error);
    if (!widget)
        return error;
    widget->setFocus(Qt::OtherFocusReason);
    return 0;
}

int ResetTextBox(int panel, int control, const char *text) {
    int error = 0;
    QWidget *widget = uirt::findControl("ResetTextBox", panel, control, &error);
    if (!widget)
        return error;
    const QString value = text ? QString::fromUtf8(text) : QString();
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        edit->setText(value);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        plain->setPlainText(value);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(value);
    else
        return uirt::fail("ResetTextBox", uirt::ERR_WRONG_CONTROL,
                          widget->objectName() + " is not a text box");
    return 0;
}
