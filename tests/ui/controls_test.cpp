// Values and attributes of controls: numerics, text boxes, buttons, visibility, the LED and
// the timer.
#include "support.h"

int GetCtrlVal(int panel, int control, double *value); // the run-time's, beyond the game's header

#include "cvi_led.h"
#include "cvi_timer.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using Controls = UiTest;

TEST_F(Controls, NumericsTakeIntAndDoubleEitherWay) {
    const int panel = load();
    const auto readBack = [panel](int id) { // the value read as an int, then as a double
        int asInt = -1;
        double asDouble = -1;
        GetCtrlVal(panel, id, &asInt);
        GetCtrlVal(panel, id, &asDouble);
        return std::to_string(asInt) + " " + QString::number(asDouble, 'g', 10).toStdString();
    };
    ASSERT_EQ(SetCtrlVal(panel, GOOD_SCORE, 999999), 0); // beyond the form's maximum of 99
    EXPECT_EQ(readBack(GOOD_SCORE), "999999 999999");
    ASSERT_EQ(SetCtrlVal(panel, GOOD_SCORE, 12.6), 0); // rounded to the integer display
    EXPECT_EQ(readBack(GOOD_SCORE), "13 13");
    ASSERT_EQ(SetCtrlVal(panel, GOOD_SPEED, 99999.25), 0);
    EXPECT_EQ(readBack(GOOD_SPEED), "99999 99999.25");
    ASSERT_EQ(SetCtrlVal(panel, GOOD_SPEED, 42), 0);
    EXPECT_EQ(readBack(GOOD_SPEED), "42 42");
    ASSERT_EQ(SetCtrlVal(panel, GOOD_SPEED, 0.126), 0); // two decimals
    EXPECT_EQ(readBack(GOOD_SPEED), "0 0.13");
}

TEST_F(Controls, BadTargetsAreRefused) {
    const int panel = load();
    EXPECT_LT(SetCtrlVal(panel, 99, 1), 0);         // no such control
    EXPECT_LT(SetCtrlVal(panel, GOOD_BOARD, 1), 0); // a graph has no value
    EXPECT_LT(GetCtrlVal(panel, GOOD_SCORE, static_cast<int *>(nullptr)), 0);
    EXPECT_LT(SetCtrlAttribute(panel, GOOD_SCORE, ATTR_CMD_BUTTON_COLOR, 0), 0);
    EXPECT_LT(SetCtrlAttribute(panel, GOOD_START, ATTR_INTERVAL, 1.0), 0);
    EXPECT_EQ(ctrlAttribute(panel, GOOD_START, ATTR_ON_COLOR), -1);
    EXPECT_LT(ResetTextBox(panel, GOOD_SCORE, "text"), 0);
    EXPECT_LT(SetActiveCtrl(panel, 99), 0);
}

TEST_F(Controls, ResetTextBoxReplacesTheWholeText) {
    const int panel = load();
    const char *const note = "caf\xC3\xA9\n\xC2\xA9 2026";
    for (const char *text : {"first", "1234"})
        ASSERT_EQ(ResetTextBox(panel, GOOD_RECORD, text), 0);
    for (const char *text : {"one\ntwo", note})
        ASSERT_EQ(ResetTextBox(panel, GOOD_NOTES, text), 0);
    auto *notes = qobject_cast<QPlainTextEdit *>(control(panel, GOOD_NOTES));
    EXPECT_EQ(qobject_cast<QLineEdit *>(control(panel, GOOD_RECORD))->text(), "1234");
    EXPECT_EQ(notes->toPlainText(), QString::fromUtf8(note));
    ASSERT_EQ(ResetTextBox(panel, GOOD_NOTES, nullptr), 0);
    EXPECT_TRUE(notes->toPlainText().isEmpty());
}

TEST_F(Controls, ButtonColourStartsAsTheStyleGivesItAndComesBack) {
    qApp->setStyleSheet("QPushButton { background-color: #123456; }");
    const int panel = load();
    auto *pause = qobject_cast<QPushButton *>(control(panel, GOOD_PAUSE));
    EXPECT_EQ(ctrlAttribute(panel, GOOD_PAUSE, ATTR_CMD_BUTTON_COLOR), 0x123456);
    ASSERT_EQ(SetCtrlAttribute(panel, GOOD_PAUSE, ATTR_CMD_BUTTON_COLOR, VAL_GREEN), 0);
    EXPECT_EQ(ctrlAttribute(panel, GOOD_PAUSE, ATTR_CMD_BUTTON_COLOR), VAL_GREEN);
    pause->ensurePolished();
    EXPECT_EQ(pause->palette().color(QPalette::Active, QPalette::Button).rgb() & 0xFFFFFF,
              0x00FF00u);
    SetCtrlAttribute(panel, GOOD_PAUSE, ATTR_CMD_BUTTON_COLOR, 0x123456);
    EXPECT_EQ(ctrlAttribute(panel, GOOD_PAUSE, ATTR_CMD_BUTTON_COLOR), 0x123456);
    EXPECT_TRUE(pause->styleSheet().isEmpty()); // the style's own look again
    qApp->setStyleSheet(QString());
}

TEST_F(Controls, DimmingAndVisibility) {
    const int panel = show();
    for (int dimmed : {1, 0}) {
        ASSERT_EQ(SetCtrlAttribute(panel, GOOD_START, ATTR_DIMMED, dimmed), 0);
        EXPECT_EQ(control(panel, GOOD_START)->isEnabled(), !dimmed);
        EXPECT_EQ(ctrlAttribute(panel, GOOD_START, ATTR_DIMMED), dimmed);
    }
    for (int id : {GOOD_SCORE, GOOD_BOARD, GOOD_LED, GOOD_WEB}) {
        for (int visible : {0, 1}) {
            ASSERT_EQ(SetCtrlAttribute(panel, id, ATTR_VISIBLE, visible), 0);
            EXPECT_EQ(control(panel, id)->isVisible(), visible == 1) << id;
            EXPECT_EQ(ctrlAttribute(panel, id, ATTR_VISIBLE), visible) << id;
        }
    }
}

TEST_F(Controls, LedValueColoursAndAccessibleState) {
    const int panel = load();
    auto *led = qobject_cast<CviLed *>(control(panel, GOOD_LED));
    ASSERT_NE(led, nullptr);
    SetCtrlAttribute(panel, GOOD_LED, ATTR_ON_COLOR, VAL_GREEN);
    SetCtrlAttribute(panel, GOOD_LED, ATTR_OFF_COLOR, VAL_RED);
    EXPECT_EQ(ctrlAttribute(panel, GOOD_LED, ATTR_ON_COLOR), VAL_GREEN);
    EXPECT_EQ(ctrlAttribute(panel, GOOD_LED, ATTR_OFF_COLOR), VAL_RED);
    led->resize(20, 20);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(led);
    ASSERT_NE(accessible, nullptr);
    for (int lit : {1, 0, 1}) {
        ASSERT_EQ(SetCtrlVal(panel, GOOD_LED, lit), 0);
        int value = -1;
        GetCtrlVal(panel, GOOD_LED, &value);
        EXPECT_EQ(value, lit);
        EXPECT_EQ(led->accessibleDescription(), lit ? "lit" : "dark");
        EXPECT_EQ(static_cast<bool>(accessible->state().checked), lit == 1);
        // The lamp's centre shows the current colour.
        EXPECT_EQ(led->grab().toImage().pixel(10, 10) & 0xFFFFFF, lit ? 0x00FF00u : 0xFF0000u);
    }
}

static int ticksDuring(int milliseconds) {
    recorded.clear();
    QTest::qWait(milliseconds);
    return countEvents(EVENT_TIMER_TICK, GOOD_TIMER);
}

TEST_F(Controls, TimerTicksOnlyWhileEnabledRestartsOnANewIntervalAndHasAFloor) {
    const int panel = load();
    auto *timer = qobject_cast<CviTimer *>(control(panel, GOOD_TIMER));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(ctrlAttribute(panel, GOOD_TIMER, ATTR_ENABLED), 0); // as the form says
    ASSERT_EQ(SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, 0.03), 0);
    EXPECT_EQ(ticksDuring(200), 0) << "setting the interval does not start it";

    ASSERT_EQ(SetCtrlAttribute(panel, GOOD_TIMER, ATTR_ENABLED, 1), 0);
    EXPECT_EQ(ctrlAttribute(panel, GOOD_TIMER, ATTR_ENABLED), 1);
    EXPECT_GT(ticksDuring(300), 0);
    for (const Recorded &tick : recorded)
        EXPECT_TRUE(tick.panel == panel && tick.data1 == 0 && tick.data2 == 0);

    for (double seconds : {0.0, -1.0, 0.001}) {
        ASSERT_EQ(SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, seconds), 0);
        EXPECT_EQ(timer->periodMs(), 20) << seconds;
    }
    const int ticks = ticksDuring(300); // some, but nothing like a busy loop
    EXPECT_GT(ticks, 0);
    EXPECT_LT(ticks, 40);
    SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, 1);
    EXPECT_EQ(timer->periodMs(), 1000);
    recorded.clear();
    for (int i = 0; i < 8; ++i) { // set every 100 ms, a 0.5 s timer that restarts never ticks
        SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, 0.5);
        QTest::qWait(100);
    }
    EXPECT_EQ(countEvents(EVENT_TIMER_TICK), 0);

    SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, 0.02);
    SetCtrlAttribute(panel, GOOD_TIMER, ATTR_ENABLED, 0);
    EXPECT_EQ(ticksDuring(200), 0);
}
