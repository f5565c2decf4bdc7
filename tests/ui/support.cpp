// The test helpers: recording callbacks, form lookup, the pop-up driver and a BMP writer.
#include "support.h"

#include "ui_runtime.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

std::vector<Recorded> recorded;

int countEvents(int event, int control) {
    int count = 0;
    for (const Recorded &each : recorded)
        if (each.event == event && (control < 0 || each.control == control))
            ++count;
    return count;
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

QString formPath(const char *name) {
    return QStringLiteral(UI_TEST_FORMS "/") + name;
}

QWidget *panelWindow(int panel) {
    uirt::Panel *found = uirt::findPanel(panel);
    return found ? found->root.data() : nullptr;
}

QWidget *control(int panel, int id) {
    int error = 0;
    return uirt::findControl("test", panel, id, &error);
}

void whenPopupShows(std::function<void(QMessageBox *)> action) {
    auto *poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
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
    poll->start();
}

QString writeBmp(const QString &directory, const char *name, int width, int height, unsigned rgb) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const int imageBytes = rowBytes * height;
    QByteArray data(54 + imageBytes, '\0');
    auto put = [&](int offset, unsigned value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            data[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    data[0] = 'B';
    data[1] = 'M';
    put(2, static_cast<unsigned>(data.size()), 4);
    put(10, 54, 4); // pixel data offset
    put(14, 40, 4); // info header size
    put(18, static_cast<unsigned>(width), 4);
    put(22, static_cast<unsigned>(height), 4); // positive: rows bottom-up
    put(26, 1, 2);                             // planes
    put(28, 24, 2);                            // bits per pixel
    put(34, static_cast<unsigned>(imageBytes), 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) // little-endian 0xRRGGBB: blue, green, red
            put(54 + y * rowBytes + x * 3, rgb, 3);
    const QString path = directory + QLatin1Char('/') + QLatin1String(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(data);
    return path;
}

void UiTest::SetUp() {
    ASSERT_NE(uirt::ensureApplication(), nullptr);
    recorded.clear();
    DisableBreakOnLibraryErrors();
}

void UiTest::TearDown() {
    for (int panel : panels)
        DiscardPanel(panel);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EnableBreakOnLibraryErrors();
}

int UiTest::loadGood() {
    const int panel = LoadPanel(0, formPath("good.ui").toLocal8Bit().constData(), GOOD_PANEL);
    EXPECT_GE(panel, 1);
    if (panel >= 1)
        panels.push_back(panel);
    return panel;
}

int UiTest::loadAndShowGood() {
    const int panel = loadGood();
    DisplayPanel(panel);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(panelWindow(panel)));
    recorded.clear();
    return panel;
}
