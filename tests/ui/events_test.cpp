// Events from the user to the callbacks: key presses, commits, clicks and the close box.
#include "support.h"

#include <QTimer>
#include <tuple>

using Events = UiTest;

static std::vector<int> panelKeyCodes() {
    std::vector<int> codes;
    for (const Recorded &each : recorded)
        if (each.control == 0 && each.event == EVENT_KEYPRESS)
            codes.push_back(each.data1);
    return codes;
}

TEST_F(Events, KeysReachThePanelWithTheirCodesAndKeepTheFocus) {
    const int panel = show();
    ASSERT_EQ(SetActiveCtrl(panel, GOOD_PAUSE), 0);
    QWidget *pause = control(panel, GOOD_PAUSE);
    EXPECT_EQ(panelWindow(panel)->focusWidget(), pause);
    // Each key with its modifiers, its text as the window system gives it, and its code.
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char *, int> cases[] = {
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
    for (const auto &[key, modifiers, text, code] : cases) {
        recorded.clear();
        QTest::sendKeyEvent(QTest::Click, pause, key, QString::fromLatin1(text), modifiers);
        EXPECT_EQ(panelKeyCodes(), std::vector<int>{code}) << "key " << key;
        EXPECT_EQ(panelWindow(panel)->focusWidget(), pause) << "key " << key;
        EXPECT_EQ(countEvents(EVENT_COMMIT), 0) << "key " << key;
    }
    // Every auto-repeated press arrives, also with the focus on a text box.
    control(panel, GOOD_RECORD)->setFocusPolicy(Qt::StrongFocus);
    SetActiveCtrl(panel, GOOD_RECORD);
    recorded.clear();
    for (int i = 0; i < 5; ++i)
        QTest::keyPress(control(panel, GOOD_RECORD), Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(panelKeyCodes(), std::vector<int>(5, VAL_DOWN_ARROW_VKEY));
}

TEST_F(Events, ButtonsCommitOnClickSpaceAndEnterAndLeftClicksGiveThePlace) {
    const int panel = show();
    QWidget *start = control(panel, GOOD_START), *web = control(panel, GOOD_WEB);
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_EQ(countEvents(EVENT_COMMIT, GOOD_START), 1);
    EXPECT_EQ(countEvents(EVENT_LEFT_CLICK, GOOD_START), 1);
    recorded.clear(); // a dimmed button cannot be used, not even clicked
    SetCtrlAttribute(panel, GOOD_START, ATTR_DIMMED, 1);
    QTest::mouseClick(start, Qt::LeftButton);
    EXPECT_TRUE(recorded.empty());
    SetCtrlAttribute(panel, GOOD_START, ATTR_DIMMED, 0);
    SetActiveCtrl(panel, GOOD_START);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        recorded.clear();
        QTest::keyClick(start, key);
        EXPECT_EQ(countEvents(EVENT_COMMIT, GOOD_START), 1) << "key " << key;
        ASSERT_EQ(panelKeyCodes().size(), 1u) << "key " << key;
        EXPECT_EQ(recorded.front().event, EVENT_KEYPRESS) << "the panel sees the key first";
    }
    recorded.clear(); // the label: left clicks only, at their place on the panel, y first
    QTest::mouseClick(web, Qt::RightButton);
    QTest::mouseClick(web, Qt::LeftButton, Qt::NoModifier, QPoint(5, 7));
    ASSERT_EQ(countEvents(EVENT_LEFT_CLICK), 1);
    const QPoint onPanel = web->mapTo(panelWindow(panel), QPoint(5, 7));
    EXPECT_EQ(recorded.front().control, GOOD_WEB);
    EXPECT_EQ(QPoint(recorded.front().data2, recorded.front().data1), onPanel);
}

TEST_F(Events, CloseBoxAsksThroughTheCloseControl) {
    const int panel = show();
    panelWindow(panel)->windowHandle()->close();
    QApplication::processEvents();
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_TRUE(recorded[0].control == 0 && recorded[0].event == EVENT_CLOSE);
    EXPECT_TRUE(recorded[1].control == GOOD_QUIT && recorded[1].event == EVENT_COMMIT);
    EXPECT_TRUE(panelWindow(panel)->isVisible());
}

TEST_F(Events, RunUserInterfaceReturnsTheQuitCode) {
    QTimer::singleShot(20, [] { QuitUserInterface(7); });
    EXPECT_EQ(RunUserInterface(), 7);
    QuitUserInterface(3); // before the loop runs: the next run ends at once
    EXPECT_EQ(RunUserInterface(), 3);
}
