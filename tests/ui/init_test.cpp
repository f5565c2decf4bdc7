// Start-up: the run-time's own files from the current folder, and the icon they make
// available to the form.
#include "support.h"

#include "ui_runtime.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

namespace {

const char *const styleName = "runtime/stakkort.qss";
const char *const fontName = "runtime/DejaVuSans.ttf";
const char *const boldName = "runtime/DejaVuSans-Bold.ttf";
const char *const resourceName = "runtime/stakkort.rcc";

// A folder laid out as the installation's, each file a copy or, when broken, junk; the
// current folder while it lives.
class RuntimeFolder {
  public:
    RuntimeFolder(const char *missing, const char *broken) : previous(QDir::currentPath()) {
        QDir(folder.path()).mkdir("runtime");
        const struct {
            const char *name;
            QString source;
        } files[] = {
            {styleName, UI_TEST_RUNTIME "/stakkort.qss"},
            {fontName, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
            {boldName, "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"},
            {resourceName, UI_TEST_RCC},
        };
        for (const auto &file : files) {
            const QString target = folder.path() + "/" + file.name;
            if (missing && !qstrcmp(missing, file.name))
                continue;
            if (broken && !qstrcmp(broken, file.name)) {
                QFile junk(target);
                EXPECT_TRUE(junk.open(QIODevice::WriteOnly));
                junk.write("this is no font and no resource\n");
            } else {
                EXPECT_TRUE(QFile::copy(file.source, target)) << file.source.toStdString();
            }
        }
        QDir::setCurrent(folder.path());
    }
    ~RuntimeFolder() { QDir::setCurrent(previous); }

  private:
    QTemporaryDir folder;
    QString previous;
};

char programName[] = "ui_tests";
char *arguments[] = {programName, nullptr};

} // namespace

using Startup = UiTest;

TEST_F(Startup, FailsWithoutEachOfItsFiles) {
    const struct {
        const char *missing;
        const char *broken;
    } cases[] = {{styleName, nullptr},    {fontName, nullptr}, {boldName, nullptr},
                 {resourceName, nullptr}, {nullptr, fontName}, {nullptr, resourceName}};
    for (const auto &each : cases) {
        RuntimeFolder folder(each.missing, each.broken);
        EXPECT_EQ(InitCVIRTEEx(nullptr, arguments, nullptr), 0)
            << "missing " << (each.missing ? each.missing : "-") << ", broken "
            << (each.broken ? each.broken : "-");
    }
}

TEST_F(Startup, LoadsStyleFontAndIconsForTheForm) {
    {
        RuntimeFolder folder(nullptr, nullptr);
        ASSERT_EQ(InitCVIRTEEx(nullptr, arguments, nullptr), 1);
    }
    EXPECT_EQ(QApplication::font().family(), "DejaVu Sans");
    EXPECT_TRUE(qApp->styleSheet().contains("#123456"));
    const int panel = loadGood();
    auto *icon = qobject_cast<QLabel *>(control(panel, GOOD_WEB));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    int colour = 0;
    GetCtrlAttribute(panel, GOOD_START, ATTR_CMD_BUTTON_COLOR, &colour);
    EXPECT_EQ(colour, 0x123456); // the style sheet reached the buttons
    qApp->setStyleSheet(QString());
}

TEST(StartupFirst, InitMakesTheApplicationFromArgv) {
    EXPECT_EXIT(
        {
            if (QCoreApplication::instance())
                _exit(2);
            InitCVIRTEEx(nullptr, arguments, nullptr); // files missing here: only the app
            _exit(QCoreApplication::arguments().value(0) == "ui_tests" ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}
