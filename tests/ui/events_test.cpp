// Events from the user to the callbacks: key presses, commits, clicks, the close box and the
// user's resizing of the window.
#include "support.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>

using Events = UiTest;

namespace {

std::vector<int> panelKeyCodes() {
    std::vector<int> codes;
    for (const Recorded &each : recorded)
        if (each.control == 0 && each.event == EVENT_KEYPRESS)
            codes.push_back(each.data1);
    return codes;
}

} // namespace

TEST_F(Events, KeysReachThePanelWithTheirCodesAndArrowsKeepTheFocus) {
    const int panel = loadAndShowGood();
    SetActiveCtrl(panel, GOOD_PAUSE);
    QWidget *pause = control(panel, GOOD_PAUSE);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char *text; // as the window system gives it
        int code;
    } cases[] = {
        {Qt::Key_Up, Qt::NoModifier, "", VAL_UP_ARROW_VKEY},
        {Qt::Key_Down, Qt::NoModifier, "", VAL_DOWN_ARROW_VKEY},
        {Qt::Key_Left, Qt::NoModifier, "", VAL_LEFT_ARROW_VKEY},
        {Qt::Key_Right, Qt::NoModifier, "", VAL_RIGHT_ARROW_VKEY},
        {Qt::Key_Down, Qt::ControlModifier, "", VAL_DOWN_ARROW_VKEY | VAL_MENUKEY_MODIFIER},
        {Qt::Key_Left, Qt::ShiftModifier, "", VAL_LEFT_ARROW_VKEY | VAL_SHIFT_MODIFIER},
        {Qt::Key_A, Qt::NoModifier, "a", 'a'},
        {Qt::Key_A, Qt::ShiftModifier, "A", 'A' | VAL_SHIFT_MODIFIER},
        {Qt::Key_P, Qt::ControlModifier, "\x10", 'p' | VAL_MENUKEY_MODIFIER},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", 0},
    };
    for (const auto &each : cases) {
        recorded.clear();
        QTest::sendKeyEvent(QTest::Click, pause, each.key, QString::fromLatin1(each.text),
                            each.modifiers);
        EXPECT_EQ(panelKeyCodes(), std::vector<int>{each.code}) << "key " << each.key;
        EXPECT_EQ(panelWindow(panel)->focusWidget(), pause) << "key " << each.key;
        EXPECT_EQ(countEvents(EVENT_COMMIT), 0) << "key " << each.key;
    }
}

TEST_F(Events, EveryAutoRepeatedPressArrivesWhicheverControlHasTheFocus) {
    const int panel = loadAndShowGood();
    for (int id : {GOOD_START, GOOD_RECORD}) {
        control(panel, id)->setFocusPolicy(Qt::StrongFocus);
        SetActiveCtrl(panel, id);
        recorded.clear();
        for (int i = 0; i < 5; ++i)
            QTest::keyPress(control(panel, id), Qt::Key_Down, Qt::NoModifier);
        QTest::keyRelease(control(panel, id), Qt::Key_Down, Qt::NoModifier);
        EXPECT_EQ(panelKeyCodes(), std::vector<int>(5, VAL_DOWN_ARROW_VKEY)) << id;
    }
}

TEST_F(Events, ButtonsCommitOnClickSpaceAndEnter) {
    const int panel = loadAndShowGood();
    QWidget *start = control(panel, GOOD_START);
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_EQ(countEvents(EVENT_COMMIT, GOOD_START), 1);
    EXPECT_EQ(countEvents(EVENT_LEFT_CLICK, GOOD_START), 1);

    SetActiveCtrl(panel, GOOD_START);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        recorded.clear();
        QTest::keyClick(start, key);
        EXPECT_EQ(countEvents(EVENT_COMMIT, GOOD_START), 1) << "key " << key;
        // The panel saw the key first.
        ASSERT_FALSE(recorded.empty());
        EXPECT_EQ(recorded.front().event, EVENT_KEYPRESS);
    }
    ASSERT_EQ(panelKeyCodes().size(), 1u);
}

TEST_F(Events, LeftClickOnTheIconReachesItsCallback) {
    const int panel = loadAndShowGood();
    QWidget *web = control(panel, GOOD_WEB);
    QTest::mouseClick(web, Qt::RightButton);
    EXPECT_EQ(countEvents(EVENT_LEFT_CLICK), 0);
    QTest::mouseClick(web, Qt::LeftButton, Qt::NoModifier, QPoint(5, 7));
    ASSERT_EQ(countEvents(EVENT_LEFT_CLICK, GOOD_WEB), 1);
    const QPoint onPanel = web->mapTo(panelWindow(panel), QPoint(5, 7));
    EXPECT_EQ(recorded.front().data1, onPanel.y());
    EXPECT_EQ(recorded.front().data2, onPanel.x());
}

TEST_F(Events, PanelSizeOnlyForTheUsersResizing) {
    const int panel = loadGood();
    SetPanelSize(panel, 320, 420); // before the first show, as the game does
    DisplayPanel(panel);
    QWidget *window = panelWindow(panel);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::qWait(50);
    SetPanelSize(panel, 330, 430); // and while shown
    QTest::qWait(50);
    EXPECT_EQ(countEvents(EVENT_PANEL_SIZE), 0);

    // The window system resizes the window, as when the user drags its border.
    window->windowHandle()->resize(500, 350);
    QTest::qWait(50);
    EXPECT_EQ(countEvents(EVENT_PANEL_SIZE, 0), 1);
    int height = 0, width = 0;
    GetPanelAttribute(panel, ATTR_HEIGHT, &height);
    GetPanelAttribute(panel, ATTR_WIDTH, &width);
    EXPECT_EQ(QSize(width, height), QSize(500, 350));
}

TEST_F(Events, CloseBoxAsksThroughTheCloseControl) {
    const int panel = loadAndShowGood();
    QWidget *window = panelWindow(panel);
    window->windowHandle()->close();
    QApplication::processEvents();
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[0].control, 0);
    EXPECT_EQ(recorded[0].event, EVENT_CLOSE);
    EXPECT_EQ(recorded[1].control, GOOD_QUIT);
    EXPECT_EQ(recorded[1].event, EVENT_COMMIT);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(Events, RunUserInterfaceReturnsTheQuitCode) {
    QTimer::singleShot(20, [] { QuitUserInterface(7); });
    EXPECT_EQ(RunUserInterface(), 7);
    QuitUserInterface(3); // before the loop runs: the next run ends at once
    EXPECT_EQ(RunUserInterface(), 3);
}
