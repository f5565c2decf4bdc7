// Loading a panel: the Designer form read at run time, its ids checked, its callbacks found
// by name in the program, and its controls made ready (read-only displays, bound timers).
#include "cvi_graph.h"
#include "cvi_led.h"
#include "cvi_timer.h"
#include "ui_runtime.h"

#include <QAbstractButton>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QUiLoader>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <memory>

namespace {

// Makes the promoted classes of the form; everything else is Qt's own.
class FormLoader : public QUiLoader {
  public:
    QWidget *createWidget(const QString &className, QWidget *parent, const QString &name) override {
        QWidget *widget = nullptr;
        if (className == QLatin1String("CviGraph"))
            widget = new CviGraph(parent);
        else if (className == QLatin1String("CviLed"))
            widget = new CviLed(parent);
        else if (className == QLatin1String("CviTimer"))
            widget = new CviTimer(parent);
        else
            return QUiLoader::createWidget(className, parent, name);
        widget->setObjectName(name);
        return widget;
    }
};

// Only a function of the program itself can be a callback: a damaged form that names a
// library's function or a variable must not get it called.
bool isProgramFunction(void *symbol) {
    Dl_info found{}, program{};
    void *entry = nullptr; // the symbol's entry in the dynamic symbol table
    if (!symbol || !dladdr1(symbol, &found, &entry, RTLD_DL_SYMENT) || !entry ||
        ELF64_ST_TYPE(static_cast<const ElfW(Sym) *>(entry)->st_info) != STT_FUNC)
        return false;
    // The run-time is linked into the program, so its own code tells which file that is.
    static int anchor;
    return dladdr(&anchor, &program) && found.dli_fbase == program.dli_fbase;
}

template <typename Pointer> Pointer findCallback(const QString &name) {
    void *symbol = dlsym(RTLD_DEFAULT, name.toUtf8().constData());
    if (!isProgramFunction(symbol))
        symbol = nullptr;
    Pointer callback = nullptr;
    static_assert(sizeof symbol == sizeof callback, "function and data pointers differ");
    std::memcpy(&callback, &symbol, sizeof callback); // a data address as a function, as POSIX
    return callback;
}

// Numbers and texts are displays: the player cannot edit them.
void prepare(QWidget *widget) {
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget)) {
        spin->setReadOnly(true);
        spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
    }
    // Wide enough for any score and speed, whatever the form left as its range.
    if (auto *spin = qobject_cast<QSpinBox *>(widget))
        spin->setRange(qMin(spin->minimum(), 0), qMax(spin->maximum(), 99999999));
    if (auto *spin = qobject_cast<QDoubleSpinBox *>(widget))
        spin->setRange(qMin(spin->minimum(), 0.0), qMax(spin->maximum(), 9999999.0));
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        edit->setReadOnly(true);
    if (auto *edit = qobject_cast<QPlainTextEdit *>(widget))
        edit->setReadOnly(true);
    // The form's size policy replaced the graph's own: keep its place while it is hidden.
    if (qobject_cast<CviGraph *>(widget)) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }
}

void bind(int panel, int control, QWidget *widget) {
    if (auto *timer = qobject_cast<CviTimer *>(widget))
        timer->bind(panel, control);
    if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        QObject::connect(button, &QAbstractButton::clicked, button, [panel, control] {
            uirt::callControl(panel, control, EVENT_COMMIT, 0, 0);
        });
    }
}

// Fills the panel's callback and controls from the form; 0 or the error.
int readControls(QWidget *root, uirt::Panel *panel) {
    const QString panelCallback = root->property("callback").toString();
    if (!panelCallback.isEmpty()) {
        panel->callback = findCallback<PanelCallbackPtr>(panelCallback);
        if (!panel->callback) {
            return uirt::fail("LoadPanel", uirt::ERR_CALLBACK,
                              "the program has no panel callback " + panelCallback);
        }
    }
    panel->closeCtrl = root->property("closeCtrl").toInt();
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        const QVariant idProperty = widget->property("ctrlId");
        if (!idProperty.isValid())
            continue; // decoration
        bool ok = false;
        const int id = idProperty.toInt(&ok);
        if (!ok) {
            return uirt::fail("LoadPanel", uirt::ERR_PANEL_FILE,
                              "the id of " + widget->objectName() + " is not a number");
        }
        if (panel->controls.count(id)) {
            return uirt::fail("LoadPanel", uirt::ERR_DUPLICATE_ID,
                              QStringLiteral("two controls with id %1").arg(id));
        }
        uirt::Control control;
        control.widget = widget;
        const QString name = widget->property("callback").toString();
        if (!name.isEmpty()) {
            control.callback = findCallback<CtrlCallbackPtr>(name);
            if (!control.callback) {
                return uirt::fail("LoadPanel", uirt::ERR_CALLBACK,
                                  "the program has no control callback " + name);
            }
        }
        panel->controls[id] = control;
    }
    return 0;
}

} // namespace

int LoadPanel(int, const char *fileName, int panelResourceId) {
    if (!uirt::ensureApplication())
        return uirt::fail("LoadPanel", uirt::ERR_PANEL_FILE, "no widgets application");
    if (!fileName)
        return uirt::fail("LoadPanel", uirt::ERR_BAD_ARGUMENT, "no file name");
    const QString path = QString::fromLocal8Bit(fileName);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return uirt::fail("LoadPanel", uirt::ERR_PANEL_FILE, "cannot read " + path);

    FormLoader loader;
    // Owned here until every check has passed: a failure deletes the whole form.
    std::unique_ptr<QWidget> root(loader.load(&file, nullptr));
    if (!root) {
        return uirt::fail("LoadPanel", uirt::ERR_PANEL_FILE,
                          path + " is not a form: " + loader.errorString());
    }
    bool ok = false;
    const int id = root->property("ctrlId").toInt(&ok);
    if (!ok || id != panelResourceId) {
        return uirt::fail(
            "LoadPanel", uirt::ERR_RESOURCE_ID,
            QStringLiteral("%1 does not hold panel %2").arg(path).arg(panelResourceId));
    }
    uirt::Panel panel;
    panel.root = root.get();
    const int error = readControls(root.get(), &panel);
    if (error < 0)
        return error;

    for (auto &entry : panel.controls)
        prepare(entry.second.widget);
    panel.programSize = root->size();
    const int handle = uirt::addPanel(panel);
    root.release(); // the registry's now, until DiscardPanel
    for (auto &entry : panel.controls)
        bind(handle, entry.first, entry.second.widget);
    uirt::watchPanel(handle);
    return handle;
}
