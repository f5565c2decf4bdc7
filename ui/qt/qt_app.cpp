// The application over Qt: the platform and the run-time's own files, the event loop, images,
// the modal pop-ups and starting other programs.
#include "rt.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QResource>
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

namespace {

bool noPlatform = false;

// Qt's own messages go where the run-time's do: nowhere, unless a developer asks.
void qtMessage(QtMsgType, const QMessageLogContext &, const QString &text) {
    if (GetBreakOnLibraryErrors())
        std::fprintf(stderr, "KIVO_Stakko run-time: %s\n", text.toLocal8Bit().constData());
}

// Qt ends the process when no display answers; asked to fall back on drawing nowhere, it tells
// the program instead, which then fails cleanly unless drawing nowhere was what was asked.
QApplication *application() {
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        return app;
    if (noPlatform || QCoreApplication::instance())
        return nullptr;
    qInstallMessageHandler(qtMessage);
    // Qt keeps references to both for the application's life; the game takes no Qt options.
    static int argc = 1;
    static char name[] = "KIVO_Stakko", *argv[] = {name, nullptr};
    const QByteArray asked = qgetenv("QT_QPA_PLATFORM");
    QByteArray first = asked;
    if (first.isEmpty())
        first = qgetenv("XDG_SESSION_TYPE") == "wayland" ? "wayland;xcb" : "xcb";
    qputenv("QT_QPA_PLATFORM", first + ";offscreen");
    auto *app = new QApplication(argc, argv);
    if (asked.isEmpty())
        qunsetenv("QT_QPA_PLATFORM"); // programs started from the game see the desktop's own
    else
        qputenv("QT_QPA_PLATFORM", asked);
    if (QGuiApplication::platformName() == QLatin1String("offscreen") &&
        !first.startsWith("offscreen")) {
        delete app;
        noPlatform = true;
        return nullptr;
    }
    app->setQuitOnLastWindowClosed(false); // the close box asks the program; pop-ups never quit
    // Qt takes the desktop's locale, for the C library too; the records file and every display
    // show numbers with a decimal point, whatever the player's language.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
    return app;
}

QWidget *shownPanel() {
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->property("_panel").toInt() && window->isVisible())
            return window;
    return nullptr;
}

void prepare(QMessageBox &box, const char *title, const char *text) {
    box.setWindowTitle(QString::fromUtf8(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromUtf8(text));
    box.setWindowModality(Qt::ApplicationModal);
}

} // namespace

namespace be {

bool init() {
    if (!application())
        return false;
    // Every file is read before any is applied, so that a missing one changes nothing.
    QFile style(QStringLiteral("runtime/stakkort.qss"));
    if (!style.open(QIODevice::ReadOnly) || !QFile::exists(QStringLiteral("runtime/stakkort.rcc")))
        return false;
    const QString styleSheet = QString::fromUtf8(style.readAll());
    // The panel's fonts: the system's own when it has them, which spares reading them anew.
    QString family = QStringLiteral("DejaVu Sans");
    for (const char *font : {"runtime/DejaVuSans.ttf", "runtime/DejaVuSans-Bold.ttf"}) {
        if (!QFile::exists(font))
            return false;
        if (!QFontDatabase::hasFamily(family) &&
            QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(font))
                .isEmpty())
            return false;
    }
    // The form's icons are resources: registered before any panel loads.
    if (!QResource::registerResource(QStringLiteral("runtime/stakkort.rcc")))
        return false;
    qApp->setStyleSheet(styleSheet);
    return true;
}

int run() {
    return QApplication::exec();
}

void quit(int code) {
    QApplication::exit(code); // the loop ends once this callback returns
}

void *loadImage(const char *fileName) {
    const QString name = QString::fromLocal8Bit(fileName);
    QImage image(name, "BMP"); // named first: no search of every format
    if (image.isNull())
        image.load(name);
    return image.isNull() ? nullptr : new QImage(image);
}

void message(const char *title, const char *text) {
    // The installation check may come before the run-time starts, or with no display at all.
    if (!application()) {
        std::fprintf(stderr, "%s: %s\n", title, text);
        return;
    }
    QMessageBox box(shownPanel()); // a parent centres the box on it
    prepare(box, title, text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

int ask(const char *title, const char *text, const std::string *labels, int count, int enter,
        int escape, int active) {
    if (!application())
        return escape;
    QMessageBox box(shownPanel());
    prepare(box, title, text);
    std::vector<QPushButton *> buttons;
    // One role for all keeps them in the order given. Enter presses the focused button, as on
    // Windows: the active one, or else the enter button, which then has the focus.
    for (int i = 0; i < count; ++i)
        buttons.push_back(
            box.addButton(QString::fromUtf8(labels[i].c_str()), QMessageBox::ActionRole));
    if (enter)
        box.setDefaultButton(buttons[enter - 1]);
    box.setEscapeButton(buttons[escape - 1]);
    if (active)
        buttons[active - 1]->setFocus();
    box.exec(); // a shortcut letter pressed alone answers too
    for (int i = 0; i < count; ++i)
        if (box.clickedButton() == buttons[i])
            return i + 1;
    return escape;
}

bool launch(const char *commandLine) {
    QStringList words = QProcess::splitCommand(QString::fromLocal8Bit(commandLine));
    return !words.isEmpty() && QProcess::startDetached(words.takeFirst(), words);
}

} // namespace be
