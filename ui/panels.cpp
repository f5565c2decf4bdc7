// The panel registry and the operations on whole panels: display, discard, size, and the
// dispatch of events to the callbacks that a panel's form names.
#include "cvi_timer.h"
#include "ui_runtime.h"

#include <QApplication>

namespace {

std::map<int, uirt::Panel> panels;
int nextHandle = 1;

const char *const panelHandleProperty = "_stakkoPanelHandle";

uirt::Panel *panelFor(const char *operation, int handle, int *error) {
    uirt::Panel *panel = uirt::findPanel(handle);
    if (!panel) {
        *error = uirt::fail(operation, uirt::ERR_BAD_PANEL,
                            QStringLiteral("no panel with handle %1").arg(handle));
    }
    return panel;
}

} // namespace

namespace uirt {

int addPanel(const Panel &panel) {
    const int handle = nextHandle++;
    panels[handle] = panel;
    panel.root->setProperty(panelHandleProperty, handle);
    return handle;
}

void removePanel(int handle) {
    panels.erase(handle);
}

Panel *findPanel(int handle) {
    auto found = panels.find(handle);
    if (found == panels.end() || !found->second.root)
        return nullptr;
    return &found->second;
}

int panelOfWindow(const QWidget *window) {
    if (!window)
        return 0;
    const int handle = window->property(panelHandleProperty).toInt();
    Panel *panel = findPanel(handle);
    return panel && panel->root == window ? handle : 0;
}

QWidget *popupParent() {
    QWidget *active = QApplication::activeWindow();
    if (panelOfWindow(active))
        return active;
    for (auto &entry : panels)
        if (entry.second.root && entry.second.root->isVisible())
            return entry.second.root;
    return nullptr;
}

QWidget *findControl(const char *operation, int panel, int control, int *error) {
    Panel *found = panelFor(operation, panel, error);
    if (!found)
        return nullptr;
    auto entry = found->controls.find(control);
    if (entry == found->controls.end() || !entry->second.widget) {
        *error = fail(operation, ERR_BAD_CONTROL,
                      QStringLiteral("no control %1 on panel %2").arg(control).arg(panel));
        return nullptr;
    }
    return entry->second.widget;
}

void callControl(int panel, int control, int event, int eventData1, int eventData2) {
    Panel *found = findPanel(panel);
    if (!found)
        return;
    auto entry = found->controls.find(control);
    if (entry == found->controls.end())
        return;
    if (CtrlCallbackPtr callback = entry->second.callback)
        callback(panel, control, event, nullptr, eventData1, eventData2);
}

void callPanel(int panel, int event, int eventData1, int eventData2) {
    Panel *found = findPanel(panel);
    if (!found)
        return;
    if (PanelCallbackPtr callback = found->callback)
        callback(panel, event, nullptr, eventData1, eventData2);
}

} // namespace uirt

int DisplayPanel(int panel) {
    int error = 0;
    uirt::Panel *found = panelFor("DisplayPanel", panel, &error);
    if (!found)
        return error;
    found->root->show();
    found->root->raise();
    found->root->activateWindow();
    return 0;
}

int DiscardPanel(int panel) {
    int error = 0;
    uirt::Panel *found = panelFor("DiscardPanel", panel, &error);
    if (!found)
        return error;
    QWidget *root = found->root;
    uirt::removePanel(panel);
    for (CviTimer *timer : root->findChildren<CviTimer *>())
        timer->setTicking(false);
    root->hide();
    // A callback of this very panel may be running: delete once control is back in the loop.
    root->deleteLater();
    return 0;
}

int SetPanelSize(int panel, int height, int width) {
    int error = 0;
    uirt::Panel *found = panelFor("SetPanelSize", panel, &error);
    if (!found)
        return error;
    if (height <= 0 || width <= 0) {
        return uirt::fail("SetPanelSize", uirt::ERR_BAD_ARGUMENT,
                          QStringLiteral("size %1 x %2").arg(width).arg(height));
    }
    found->programSize = QSize(width, height);
    found->programResizing = true;
    found->root->resize(width, height);
    found->programResizing = false;
    return 0;
}

int GetPanelAttribute(int panel, int attribute, int *value) {
    int error = 0;
    uirt::Panel *found = panelFor("GetPanelAttribute", panel, &error);
    if (!found)
        return error;
    if (!value)
        return uirt::fail("GetPanelAttribute", uirt::ERR_BAD_ARGUMENT, "no place for the value");
    switch (attribute) {
    case ATTR_HEIGHT:
        *value = found->root->height();
        return 0;
    case ATTR_WIDTH:
        *value = found->root->width();
        return 0;
    case ATTR_VISIBLE:
        *value = found->root->isVisible() ? 1 : 0;
        return 0;
    default:
        return uirt::fail("GetPanelAttribute", uirt::ERR_BAD_ATTRIBUTE,
                          QStringLiteral("attribute %1").arg(attribute));
    }
}
