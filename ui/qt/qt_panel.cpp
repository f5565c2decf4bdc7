// Panels over Qt Widgets: the Designer form read at run time, its widgets shown as the core
// says, and the window's keys, clicks, close box and resizing handed to the core.
#include "qt_widgets.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUiLoader>
#include <memory>

namespace {

QWidget *widgetOf(const rt::Control *c) {
    return static_cast<QWidget *>(c->widget);
}

class FormLoader : public QUiLoader {
  public:
    QWidget *createWidget(const QString &className, QWidget *parent, const QString &name) override {
        QWidget *widget = className == QLatin1String("CviGraph") ? new Graph(parent)
                          : className == QLatin1String("CviLed") ? new Led(parent)
                          : className == QLatin1String("CviTimer")
                              ? new QWidget(parent)
                              : QUiLoader::createWidget(className, parent, name);
        if (className.startsWith(QLatin1String("Cvi")))
            widget->setProperty("_kind", className);
        widget->setObjectName(name);
        return widget;
    }
};

// Every key press of a panel window goes to the panel callback first, once, at its first
// receiver; arrows belong to the game alone and never move the focus between buttons, not even
// in a question, where a stray one would put the focus on Yes for the next Enter.
class KeyFilter : public QObject {
    bool eventFilter(QObject *object, QEvent *event) override {
        if (event->type() != QEvent::KeyPress || !object->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(object);
        QWidget *window = widget->window();
        const int panel = panelOf(window);
        const auto *key = static_cast<QKeyEvent *>(event);
        const int k = key->key();
        if (!panel) // a pop-up
            return k >= Qt::Key_Left && k <= Qt::Key_Down;
        if (widget != (window->focusWidget() ? window->focusWidget() : window) ||
            k == Qt::Key_Shift || k == Qt::Key_Control || k == Qt::Key_Meta || k == Qt::Key_Alt)
            return false;
        const rt::Key which = k == Qt::Key_Up      ? rt::KEY_UP
                              : k == Qt::Key_Down  ? rt::KEY_DOWN
                              : k == Qt::Key_Left  ? rt::KEY_LEFT
                              : k == Qt::Key_Right ? rt::KEY_RIGHT
                                                   : rt::KEY_OTHER;
        const QString text = key->text();
        const int character = text.size() == 1 && text.at(0).unicode() >= 0x20
                                  ? text.at(0).unicode()
                              : k >= Qt::Key_Space && k <= Qt::Key_AsciiTilde ? k
                                                                              : 0;
        QPointer<QWidget> receiver(widget);
        rt::keyPressed(panel, rt::keyCode(which, character, key->modifiers() & Qt::ControlModifier,
                                          key->modifiers() & Qt::ShiftModifier));
        if (which != rt::KEY_OTHER || !receiver)
            return true;
        // Enter on a focused button commits it, as Space does.
        auto *button = qobject_cast<QPushButton *>(widget);
        if (button && (k == Qt::Key_Return || k == Qt::Key_Enter)) {
            if (!key->isAutoRepeat())
                button->click();
            return true;
        }
        return false;
    }
};

// The panel window's close box and size, and left clicks on its controls.
class PanelFilter : public QObject {
    bool eventFilter(QObject *object, QEvent *event) override {
        auto *widget = static_cast<QWidget *>(object);
        const int panel = panelOf(widget);
        if (event->type() == QEvent::Close && widget->isWindow()) {
            event->ignore(); // the program decides, through the close control
            rt::closeBoxPressed(panel);
            return true;
        }
        if (event->type() == QEvent::Resize && widget->isWindow())
            rt::resized(panel, widget->height(), widget->width());
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint at = widget->mapTo(widget->window(), mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton)
            rt::leftClicked(panel, idOf(widget), at.y(), at.x());
        return false;
    }
};

KeyFilter keyFilter;
PanelFilter panelFilter;
std::map<QWidget *, bool> pendingVisibility; // emptied before a panel's widgets go

// Hiding and showing again within one callback, as the game does around every cell, must cost
// nothing: visibility is applied when control is back in the loop, or when drawn now.
void applyVisibility() {
    for (auto &entry : pendingVisibility)
        if (entry.first->isHidden() == entry.second)
            entry.first->setVisible(entry.second);
    pendingVisibility.clear();
}

// A control being dimmed hands the keyboard focus back to the one before it, where Qt would
// hand it on: at the end of a game, from Pause to Start rather than to Sound.
void focusBefore(QWidget *widget) {
    for (QWidget *w = widget->previousInFocusChain(); w != widget; w = w->previousInFocusChain())
        if (w->isEnabled() && w->isVisibleTo(widget->window()) && (w->focusPolicy() & Qt::TabFocus))
            return w->setFocus(Qt::BacktabFocusReason);
}

void setButtonColour(QPushButton *button, int rgb) {
    if (rgb == button->property("_loaded").toInt()) {
        button->setStyleSheet(QString()); // the style's own look, hover and press included
        return;
    }
    // Dark text reads well on the game's colours, the held look's green and the muted red.
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: #%1; color: #101418; }")
                              .arg(rgb, 6, 16, QLatin1Char('0')));
}

int loadedColour(QPushButton *button) {
    button->ensurePolished();
    const QBrush brush = button->palette().brush(QPalette::Active, QPalette::Button);
    const QColor colour = brush.gradient() && !brush.gradient()->stops().isEmpty()
                              ? brush.gradient()->stops().first().second
                              : brush.color();
    return static_cast<int>(colour.rgb() & 0xFFFFFF);
}

// The control as the form gives it; false for a widget the game cannot use as a control.
bool readControl(QWidget *widget, rt::Control *c) {
    const QString kind = widget->property("_kind").toString();
    c->widget = widget;
    c->callbackName = widget->property("callback").toString().toStdString();
    c->dimmed = !widget->isEnabled();
    c->visible = !widget->isHidden();
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        c->kind = rt::BUTTON;
        c->colour = loadedColour(button);
        button->setProperty("_loaded", c->colour);
        QObject::connect(button, &QPushButton::clicked, button,
                         [button] { rt::committed(panelOf(button), idOf(button)); });
    } else if (qobject_cast<QAbstractSpinBox *>(widget)) {
        c->kind = rt::NUMERIC; // a display, read-only and without arrows in the form
        c->value = widget->property("value").toDouble();
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        c->kind = rt::TEXT;
        edit->setReadOnly(true);
    } else if (kind == QLatin1String("CviGraph")) {
        c->kind = rt::GRAPH;
        c->xMin = widget->property("xMinimum").toDouble();
        c->xMax = widget->property("xMaximum").toDouble();
        c->yMin = widget->property("yMinimum").toDouble();
        c->yMax = widget->property("yMaximum").toDouble();
        QSizePolicy policy = widget->sizePolicy(); // keeps its place while hidden
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
        widget->setAttribute(Qt::WA_OpaquePaintEvent);
    } else if (kind == QLatin1String("CviLed")) {
        c->kind = rt::LED;
        widget->setAccessibleDescription(QStringLiteral("dark"));
    } else if (kind == QLatin1String("CviTimer")) {
        c->kind = rt::TIMER; // in the form, "enabled" means ticking
        c->enabled = widget->isEnabled();
        c->dimmed = false;
        c->interval = widget->property("interval").toDouble();
        widget->setEnabled(true);
        widget->setAttribute(Qt::WA_DontShowOnScreen);
        auto *timer = new QTimer(widget);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, widget,
                         [widget] { rt::timerFired(panelOf(widget), idOf(widget)); });
    } else if (qobject_cast<QLabel *>(widget)) {
        c->kind = rt::PICTURE;
    } else {
        return false;
    }
    return true;
}

} // namespace

namespace be {

bool loadPanel(const char *fileName, int resourceId, rt::Panel *panel) {
    QFile file(QString::fromLocal8Bit(fileName));
    // The loader would load every Designer plugin it finds, some pulling in large libraries;
    // the form needs none of them.
    const QStringList libraryPaths = QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths({});
    FormLoader loader;
    std::unique_ptr<QWidget> root(file.open(QIODevice::ReadOnly) ? loader.load(&file) : nullptr);
    QCoreApplication::setLibraryPaths(libraryPaths);
    bool ok = false;
    if (!root || root->property("ctrlId").toInt(&ok) != resourceId || !ok)
        return false;
    panel->callbackName = root->property("callback").toString().toStdString();
    panel->closeCtrl = root->property("closeCtrl").toInt();
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        const int id = widget->property("ctrlId").toInt(&ok);
        if (!widget->property("ctrlId").isValid())
            continue; // decoration
        rt::Control c;
        if (!ok || panel->controls.count(id) || !readControl(widget, &c))
            return false;
        panel->controls[id] = c;
    }
    panel->window = root.release(); // the panel's until it is discarded
    return true;
}

void bindPanel(rt::Panel *panel, int handle) {
    auto *root = static_cast<QWidget *>(panel->window);
    root->setProperty("_panel", handle);
    root->installEventFilter(&panelFilter);
    for (auto &entry : panel->controls) {
        if (entry.second.kind == rt::PICTURE)
            widgetOf(&entry.second)->installEventFilter(&panelFilter);
        if (entry.second.kind == rt::TIMER)
            apply(&entry.second, ATTR_ENABLED);
    }
    qApp->removeEventFilter(&keyFilter); // installed once
    qApp->installEventFilter(&keyFilter);
}

void discardPanel(rt::Panel *panel) {
    auto *root = static_cast<QWidget *>(panel->window);
    applyVisibility();
    root->setProperty("_panel", 0);
    root->hide();
    root->deleteLater(); // a callback of this very panel may still be running
}

static QRect roomOf(const QWidget *root) {
    QScreen *screen = root->screen() ? root->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void showPanel(rt::Panel *panel, bool fitted) {
    auto *root = static_cast<QWidget *>(panel->window);
    const QRect free = roomOf(root);
    if (fitted) // the window manager would centre it, and its frame could then leave the screen
        root->move(free.left() + (free.width() - root->width()) / 2, free.top());
    root->show();
    root->raise();
    root->activateWindow();
}

void boundSize(const rt::Panel *panel, int *height, int *width) {
    auto *root = static_cast<QWidget *>(panel->window);
    if (root->layout())
        root->layout()->activate(); // its smallest size comes from the layout
    const QSize size =
        QSize(*width, *height).expandedTo(root->minimumSize()).boundedTo(root->maximumSize());
    *height = size.height();
    *width = size.width();
}

void resizePanel(rt::Panel *panel, int height, int width) {
    static_cast<QWidget *>(panel->window)->resize(width, height);
}

void panelSize(const rt::Panel *panel, int *height, int *width) {
    auto *root = static_cast<QWidget *>(panel->window);
    *height = root->height();
    *width = root->width();
}

void room(const rt::Panel *panel, int *height, int *width) {
    // The window manager's frame is not known before the first show: leave room for a title
    // bar and borders.
    const QRect free = roomOf(static_cast<QWidget *>(panel->window));
    *height = free.height() - 48;
    *width = free.width() - 16;
}

void apply(rt::Control *c, int attribute) {
    QWidget *widget = widgetOf(c);
    switch (attribute) {
    case 0:
        if (c->kind == rt::NUMERIC)
            widget->setProperty("value", c->value);
        else
            widget->setAccessibleDescription(c->value != 0 ? QStringLiteral("lit")
                                                           : QStringLiteral("dark"));
        widget->update();
        break;
    case ATTR_DIMMED:
        if (c->dimmed && widget->window()->focusWidget() == widget)
            focusBefore(widget);
        widget->setEnabled(!c->dimmed); // a timer ticks all the same
        break;
    case ATTR_VISIBLE:
        if (c->kind == rt::TIMER)
            break; // a timer is never shown
        if (pendingVisibility.empty())
            QMetaObject::invokeMethod(qApp, applyVisibility, Qt::QueuedConnection);
        pendingVisibility[widget] = c->visible;
        break;
    case ATTR_CMD_BUTTON_COLOR:
        setButtonColour(static_cast<QPushButton *>(widget), c->colour);
        break;
    case ATTR_ON_COLOR:
    case ATTR_OFF_COLOR:
        widget->update();
        break;
    case ATTR_INTERVAL:
    case ATTR_ENABLED: {
        // A new interval starts its period anew, as a newly enabled timer does.
        auto *timer = widget->findChild<QTimer *>();
        if (c->enabled)
            timer->start(rt::timerPeriodMs(*c));
        else
            timer->stop();
        break;
    }
    }
}

void setText(rt::Control *c, const char *text) {
    static_cast<QLineEdit *>(widgetOf(c))->setText(QString::fromUtf8(text));
}

void focus(rt::Control *c) {
    widgetOf(c)->setFocus(Qt::OtherFocusReason);
}

void graphChanged(rt::Control *graph, const rt::Plot *plot) {
    static_cast<Graph *>(widgetOf(graph))->changed(*graph, plot);
}

void drawNow() {
    applyVisibility();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QGuiApplication::sync();
}

} // namespace be
