// The program's surroundings: start-up from the run-time's own files in the current folder,
// starting other programs, file sizes and the library-error report.
#include "support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>

namespace {

// The installation's files, each copied from its source.
const struct {
    const char *name;
    const char *source;
} runtimeFiles[] = {
    {"runtime/stakkort.qss", UI_TEST_RUNTIME "/stakkort.qss"},
    {"runtime/DejaVuSans.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
    {"runtime/DejaVuSans-Bold.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"},
    {"runtime/stakkort.rcc", UI_TEST_RCC},
};

char programName[] = "ui_tests";
char *arguments[] = {programName, nullptr};

// Starts up in a new current folder laid out as the installation's, less the missing file or
// with the broken one junk.
int initWith(const char *missing, const char *broken) {
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("runtime");
    for (const auto &file : runtimeFiles) {
        const QString target = folder.path() + "/" + file.name;
        if (broken && !qstrcmp(broken, file.name))
            writeFile(target, "this is no font and no resource\n");
        else if (!missing || qstrcmp(missing, file.name))
            QFile::copy(file.source, target);
    }
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const int result = InitCVIRTEEx(nullptr, arguments, nullptr);
    QDir::setCurrent(previous);
    return result;
}

} // namespace

using Startup = UiTest;

TEST_F(Startup, FailsWithoutEachOfItsFilesAndLoadsStyleFontAndIconsWithAll) {
    for (const auto &file : runtimeFiles)
        EXPECT_EQ(initWith(file.name, nullptr), 0) << "missing " << file.name;
    for (const char *broken : {runtimeFiles[1].name, runtimeFiles[3].name})
        EXPECT_EQ(initWith(nullptr, broken), 0) << "broken " << broken;
    ASSERT_EQ(initWith(nullptr, nullptr), 1);
    EXPECT_EQ(QApplication::font().family(), "DejaVu Sans");
    const int panel = load();
    auto *icon = qobject_cast<QLabel *>(control(panel, GOOD_WEB));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    // The style sheet reached the buttons.
    EXPECT_EQ(ctrlAttribute(panel, GOOD_START, ATTR_CMD_BUTTON_COLOR), 0x123456);
    qApp->setStyleSheet(QString());
}

// With no application yet, start-up makes one from argv, and a pop-up (the installation check
// may show one before start-up) makes the one it needs.
TEST(StartupFirst, TheApplicationIsMadeOnFirstNeed) {
    EXPECT_EXIT(
        {
            InitCVIRTEEx(nullptr, arguments, nullptr); // files missing here: only the app
            _exit(QCoreApplication::arguments().value(0) == "ui_tests" ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            if (QCoreApplication::instance())
                _exit(2);
            qAddPreRoutine([] { // runs inside the application's constructor
                whenPopupShows([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
            });
            MessagePopup("Error", "A file is missing.");
            _exit(qobject_cast<QApplication *>(QCoreApplication::instance()) ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

using Files = UiTest;

TEST_F(Files, LaunchExecutableStartsTheProgramWithoutWaiting) {
    QTemporaryDir directory;
    const QString marker = directory.path() + "/started marker";
    const std::string command = "/bin/sh -c \"sleep 0.2; touch '" + marker.toStdString() + "'\"";
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(LaunchExecutable(command.c_str()), 0);
    EXPECT_FALSE(QFile::exists(marker)); // it is still sleeping: the call did not wait
    while (!QFile::exists(marker) && clock.elapsed() < 10000)
        QTest::qWait(20);
    EXPECT_TRUE(QFile::exists(marker));
    for (const char *bad : {"/no/such/program --flag", "", static_cast<const char *>(nullptr)})
        EXPECT_LT(LaunchExecutable(bad), 0) << (bad ? bad : "null");
}

TEST_F(Files, FileSizeCodesForEachOutcome) {
    QTemporaryDir directory;
    const QString path = writeFile(directory.path() + "/seven.txt", "1234567");
    QDir(directory.path()).mkdir("folder");
    const std::pair<QString, int> cases[] = {
        {path, 0},
        {directory.path() + "/missing.txt", -1},
        {directory.path() + "/no/such/folder/x.txt", -1},
        {path + "/under-a-file", -1},
        {directory.path() + "/" + QString(300, 'x'), -5}, // name too long
        {directory.path() + "/folder", -5},               // not a file
    };
    for (const auto &[name, code] : cases) {
        long size = -99;
        EXPECT_EQ(CVI_GetFileSize(name.toLocal8Bit().constData(), &size), code)
            << name.toStdString();
        EXPECT_EQ(size, code == 0 ? 7 : -99) << name.toStdString();
    }
}

TEST(BreakOnLibraryErrors, FlagAndOneLineReport) {
    EXPECT_EQ(GetBreakOnLibraryErrors(), 0);     // off from the start: nothing is logged
    EXPECT_EQ(DisableBreakOnLibraryErrors(), 0); // each call gives the state before it
    for (int on : {0, 1}) {
        EXPECT_EQ(GetBreakOnLibraryErrors(), on);
        ::testing::internal::CaptureStderr();
        CVI_GetFileSize("/no/such/file", nullptr);
        const std::string report = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), on) << report;
        EXPECT_EQ(report.find("CVI_GetFileSize") != std::string::npos, on == 1) << report;
        EXPECT_EQ(EnableBreakOnLibraryErrors(), on);
    }
}
