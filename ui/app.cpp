// The application and its event loop: start-up with the run-time's own files, the loop that
// RunUserInterface runs until QuitUserInterface, and the library-error report.
#include "ui_runtime.h"

#include <QAccessible>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QResource>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// QApplication keeps references to argc and argv for its whole life.
int appArgc = 0;
std::vector<std::string> appArgStrings;
std::vector<char *> appArgv;

// Off unless a developer turns it on: the program itself logs nothing.
int breakOnLibraryErrors = 0;

QEventLoop *runningLoop = nullptr;
bool quitPending = false; // QuitUserInterface came before RunUserInterface
int quitCode = 0;

// Qt ends the process when it has no display to open; the program must fail cleanly instead.
bool displayReachable() {
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

QApplication *createApplication(const std::vector<std::string> &args) {
    if (!displayReachable())
        return nullptr;
    appArgStrings = args;
    appArgv.clear();
    for (std::string &arg : appArgStrings)
        appArgv.push_back(arg.data());
    appArgv.push_back(nullptr);
    appArgc = static_cast<int>(appArgStrings.size());
    auto *app = new QApplication(appArgc, appArgv.data());
    // Panels ignore their close box, and pop-ups must not end the program.
    app->setQuitOnLastWindowClosed(false);
    return app;
}

bool readStyleSheet(const QString &path, QString *styleSheet) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    *styleSheet = QString::fromUtf8(file.readAll());
    return file.error() == QFileDevice::NoError;
}

} // namespace

namespace uirt {

QApplication *ensureApplication() {
    if (QCoreApplication::instance()) // null when it is not a widgets application
        return qobject_cast<QApplication *>(QCoreApplication::instance());
    return createApplication({"KIVO_Stakko"});
}

int fail(const char *operation, int code, const QString &detail) {
    if (breakOnLibraryErrors)
        std::fprintf(stderr, "KIVO_Stakko run-time: %s failed (%d): %s\n", operation, code,
                     detail.toLocal8Bit().constData());
    return code;
}

} // namespace uirt

int InitCVIRTEEx(void *, char *argv[], void *) {
    if (!QCoreApplication::instance()) {
        std::vector<std::string> args;
        for (int i = 0; argv && argv[i]; ++i)
            args.emplace_back(argv[i]);
        if (args.empty())
            args.emplace_back("KIVO_Stakko");
        createApplication(args);
    }
    QApplication *app = uirt::ensureApplication();
    if (!app)
        return uirt::fail("InitCVIRTEEx", 0, "no display, or another kind of application");

    const QString styleFile = QStringLiteral("runtime/stakkort.qss");
    const QString fontFiles[] = {QStringLiteral("runtime/DejaVuSans.ttf"),
                                 QStringLiteral("runtime/DejaVuSans-Bold.ttf")};
    const QString resourceFile = QStringLiteral("runtime/stakkort.rcc");

    // Check every file before applying any, so that a missing one changes nothing.
    QString styleSheet;
    if (!readStyleSheet(styleFile, &styleSheet))
        return uirt::fail("InitCVIRTEEx", 0, "cannot read " + styleFile);
    for (const QString &font : fontFiles)
        if (!QFileInfo(font).isFile())
            return uirt::fail("InitCVIRTEEx", 0, "missing " + font);
    if (!QFileInfo(resourceFile).isFile())
        return uirt::fail("InitCVIRTEEx", 0, "missing " + resourceFile);

    QString family;
    for (const QString &font : fontFiles) {
        const int id = QFontDatabase::addApplicationFont(font);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (id < 0 || families.isEmpty())
            return uirt::fail("InitCVIRTEEx", 0, "not a usable font: " + font);
        if (family.isEmpty())
            family = families.first();
    }
    // The form's icons are resources: they must be registered before any panel loads.
    if (!QResource::registerResource(resourceFile))
        return uirt::fail("InitCVIRTEEx", 0, "not a usable resource file: " + resourceFile);

    QFont font = QApplication::font();
    font.setFamily(family);
    QApplication::setFont(font);
    app->setStyleSheet(styleSheet);
    return 1;
}

int RunUserInterface(void) {
    uirt::ensureApplication();
    if (quitPending) {
        quitPending = false;
        return quitCode;
    }
    // QApplication::exec would do this: screen readers find the panels from the application.
    QAccessible::setRootObject(qApp);
    QEventLoop loop;
    QEventLoop *outer = runningLoop;
    runningLoop = &loop;
    const int code = loop.exec();
    runningLoop = outer;
    return code;
}

int QuitUserInterface(int returnCode) {
    if (runningLoop) {
        runningLoop->exit(returnCode);
    } else {
        quitPending = true;
        quitCode = returnCode;
    }
    return 0;
}

int ProcessDrawEvents(void) {
    if (!QCoreApplication::instance())
        return 0;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    return 0;
}

int GetBreakOnLibraryErrors(void) {
    return breakOnLibraryErrors;
}

int EnableBreakOnLibraryErrors(void) {
    const int previous = breakOnLibraryErrors;
    breakOnLibraryErrors = 1;
    return previous;
}

int DisableBreakOnLibraryErrors(void) {
    const int previous = breakOnLibraryErrors;
    breakOnLibraryErrors = 0;
    return previous;
}
