// The test program: its start on the offscreen platform, the recording callbacks, form lookup,
// the pop-up driver and file writers.
#include "support.h"

#include <QColor>
#include <QImage>
#include <QTimer>

std::vector<Recorded> recorded;

int countEvents(int event, int control) {
    return static_cast<int>(std::count_if(recorded.begin(), recorded.end(), [&](const Recorded &r) {
        return r.event == event && (control < 0 || r.control == control);
    }));
}

extern "C" int TestPanelCallback(int panel, int event, void *, int eventData1, int eventData2) {
    recorded.push_back({panel, 0, event, eventData1, eventData2});
    return 0;
}

extern "C" int TestControlCallback(int panel, int control, int event, void *, int eventData1,
                                   int eventData2) {
    recorded.push_back({panel, control, event, eventData1, eventData2});
    return 0;
}

QByteArray formPath(const char *name) {
    return QByteArray(UI_TEST_FORMS "/") + name;
}

QWidget *panelWindow(int panel) {
    uirt::Panel *found = uirt::findPanel(panel);
    return found ? found->root.data() : nullptr;
}

QWidget *control(int panel, int id) {
    int error = 0;
    return uirt::findControl("test", panel, id, &error);
}

int ctrlAttribute(int panel, int id, int attribute) {
    int value = -1;
    return GetCtrlAttribute(panel, id, attribute, &value) < 0 ? -1 : value;
}

void whenPopupShows(std::function<void(QMessageBox *)> action) {
    QTimer::singleShot(10, qApp, [action] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return whenPopupShows(action); // not up yet: look again
        QPointer<QMessageBox> guard(box);
        action(box);
        // Never let a box that the action failed to answer hang the test.
        QTimer::singleShot(3000, box, [guard] {
            if (guard) {
                ADD_FAILURE() << "the pop-up was not answered";
                guard->done(0);
            }
        });
    });
}

QString writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
    return path;
}

QString writeBmp(const QString &directory, const char *name, int width, int height, unsigned rgb) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(QColor::fromRgb(rgb));
    const QString path = directory + QLatin1Char('/') + QLatin1String(name);
    EXPECT_TRUE(image.save(path, "BMP")) << path.toStdString();
    return path;
}

void UiTest::SetUp() {
    ASSERT_NE(uirt::ensureApplication(), nullptr);
    recorded.clear();
}

void UiTest::TearDown() {
    for (int panel : panels)
        DiscardPanel(panel);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    DisableBreakOnLibraryErrors();
}

int UiTest::load(const char *form, int id) {
    const int panel = LoadPanel(0, formPath(form).constData(), id);
    EXPECT_GE(panel, 1) << form;
    if (panel >= 1)
        panels.push_back(panel);
    return panel;
}

int UiTest::show(const char *form, int id) {
    const int panel = load(form, id);
    DisplayPanel(panel);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(panelWindow(panel)));
    recorded.clear();
    return panel;
}

// Under the leak sanitizer: fontconfig keeps its caches for the life of the process.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Death tests start afresh, without the application that other tests made.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
