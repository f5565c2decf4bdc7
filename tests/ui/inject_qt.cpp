// Input through Qt's own event delivery, and the screen as its platform holds it.
#include "inject.h"
#include "rt.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

static QWidget *widget(int panel, int control) {
    return static_cast<QWidget *>(control ? rt::control(panel, control)->widget
                                          : rt::panel(panel)->window);
}

// The key pressed where the window's focus is: an arrow by name, any other by its character.
static void press(QWidget *window, int key, bool ctrl = false) {
    QWidget *target = window->focusWidget() ? window->focusWidget() : window;
    const Qt::KeyboardModifiers modifiers = ctrl ? Qt::ControlModifier : Qt::NoModifier;
    if (key < 0)
        QTest::keyClick(target, key == inject::KEY_DOWN ? Qt::Key_Down : Qt::Key_Up, modifiers);
    else
        QTest::keyClick(target, char(key), modifiers);
}

namespace inject {

void key(int panel, int key, bool ctrl) {
    press(widget(panel, 0), key, ctrl);
}

void click(int panel, int control) {
    QTest::mouseClick(widget(panel, control), Qt::LeftButton);
}

void closeBox(int panel) {
    widget(panel, 0)->close();
}

void resize(int panel, int height, int width) {
    widget(panel, 0)->resize(width, height);
}

void answer(int key) {
    QTimer::singleShot(50, [key] { press(QApplication::activeModalWidget(), key); });
}

void pump(int ms) {
    QTest::qWait(ms);
}

int pixel(int panel, int control, double fx, double fy) {
    QWidget *w = widget(panel, control), *window = w->window();
    const QPoint at = w->mapTo(window, QPoint(int(fx * w->width()), int((1 - fy) * w->height())));
    const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
    return static_cast<int>(shown.pixel(at * shown.devicePixelRatio()) & 0xFFFFFF);
}

} // namespace inject
