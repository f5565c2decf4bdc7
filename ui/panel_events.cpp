// The events of a panel's window turned into callbacks: every key press to the panel callback
// first, left clicks on controls, the close box, and the user's resizing of the window.
#include "ui_runtime.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWindow>

namespace {

// Modifiers alone are no key presses for the game: they only change the keys pressed with them.
bool isModifier(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Meta ||
           key == Qt::Key_Alt || key == Qt::Key_AltGr;
}

bool isArrow(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

// Sees every key press of the application and hands those of panel windows to the panel
// callback before any control acts on them.
class KeyFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject *object, QEvent *event) override {
        if (event->type() != QEvent::KeyPress || !object->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(object);
        QWidget *window = widget->window();
        const int panel = uirt::panelOfWindow(window);
        if (!panel)
            return false; // a pop-up's keys, or another window's
        // Qt offers an unused key to each parent in turn: take it only at its first receiver,
        // the window's focus widget (or the window when nothing has the focus).
        QWidget *firstReceiver = window->focusWidget() ? window->focusWidget() : window;
        if (widget != firstReceiver)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (isModifier(key->key()))
            return false;
        QPointer<QWidget> receiver(widget);
        uirt::callPanel(panel, EVENT_KEYPRESS,
                        uirt::keyCode(key->key(), key->modifiers(), key->text()), 0);
        // Arrows belong to the game alone: they must not move the focus between buttons.
        if (isArrow(key->key()) || !receiver)
            return true;
        // Enter on a focused button commits it, as Space does.
        auto *button = qobject_cast<QPushButton *>(widget);
        if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            if (!key->isAutoRepeat() && button->isEnabled())
                button->click();
            return true;
        }
        return false;
    }
};

// Watches one panel's window: its close box and its resizing.
class WindowFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject *object, QEvent *event) override {
        auto *window = static_cast<QWidget *>(object);
        const int panel = uirt::panelOfWindow(window);
        if (!panel)
            return false;
        if (event->type() == QEvent::Close) {
            // The close box asks the program, which quits through the close control.
            event->ignore();
            uirt::callPanel(panel, EVENT_CLOSE, 0, 0);
            if (uirt::Panel *found = uirt::findPanel(panel); found && found->closeCtrl)
                uirt::callControl(panel, found->closeCtrl, EVENT_COMMIT, 0, 0);
            return true;
        }
        if (event->type() == QEvent::Resize && isUserResize(panel, window, event))
            uirt::callPanel(panel, EVENT_PANEL_SIZE, 0, 0);
        return false;
    }

  private:
    // Only the user's resizing counts: never the program's own, nor the first show.
    static bool isUserResize(int panel, QWidget *window, QEvent *event) {
        uirt::Panel *found = uirt::findPanel(panel);
        if (!found || found->programResizing || !event->spontaneous())
            return false;
        QWindow *handle = window->windowHandle();
        if (!window->isVisible() || !handle || !handle->isExposed())
            return false;
        // The window system may confirm the program's size once: that is not the user's.
        const QSize expected = found->programSize;
        found->programSize = QSize();
        return static_cast<QResizeEvent *>(event)->size() != expected;
    }
};

// Left clicks on a control, for its callback.
class ClickFilter : public QObject {
  public:
    ClickFilter(QObject *parent, int panel, int control)
        : QObject(parent), panelHandle(panel), controlId(control) {}

  protected:
    bool eventFilter(QObject *object, QEvent *event) override {
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        // A dimmed control cannot be used, clicks included.
        if (mouse->button() != Qt::LeftButton || !static_cast<QWidget *>(object)->isEnabled())
            return false;
        // The position on the panel: vertical first, as the callbacks expect.
        const QWidget *widget = static_cast<QWidget *>(object);
        const QPoint onPanel = widget->mapTo(widget->window(), mouse->position().toPoint());
        uirt::callControl(panelHandle, controlId, EVENT_LEFT_CLICK, onPanel.y(), onPanel.x());
        return false;
    }

  private:
    int panelHandle;
    int controlId;
};

QPointer<KeyFilter> keyFilter;

} // namespace

namespace uirt {

int keyCode(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text) {
    int code = 0;
    switch (qtKey) {
    case Qt::Key_Up:
        code = VAL_UP_ARROW_VKEY;
        break;
    case Qt::Key_Down:
        code = VAL_DOWN_ARROW_VKEY;
        break;
    case Qt::Key_Left:
        code = VAL_LEFT_ARROW_VKEY;
        break;
    case Qt::Key_Right:
        code = VAL_RIGHT_ARROW_VKEY;
        break;
    default: {
        // The character of a printable key; with Ctrl the text is a control code, so take
        // the key itself then.
        const char16_t first = text.size() == 1 ? text.at(0).unicode() : 0;
        if ((first >= 0x20 && first < 0x7F) || (first >= 0xA0 && first <= 0xFF))
            code = first;
        else if (qtKey >= Qt::Key_Space && qtKey <= Qt::Key_AsciiTilde)
            code = (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z && !(modifiers & Qt::ShiftModifier))
                       ? qtKey + ('a' - 'A')
                       : qtKey;
    }
    }
    if (modifiers & Qt::ControlModifier)
        code |= VAL_MENUKEY_MODIFIER;
    if (modifiers & Qt::ShiftModifier)
        code |= VAL_SHIFT_MODIFIER;
    return code;
}

void watchPanel(int handle) {
    Panel *panel = findPanel(handle);
    if (!panel)
        return;
    if (!keyFilter) {
        keyFilter = new KeyFilter(qApp);
        qApp->installEventFilter(keyFilter);
    }
    panel->root->installEventFilter(new WindowFilter(panel->root));
    for (auto &entry : panel->controls) {
        if (entry.second.callback && entry.second.widget) {
            QWidget *widget = entry.second.widget;
            widget->installEventFilter(new ClickFilter(widget, handle, entry.first));
        }
    }
}

} // namespace uirt
