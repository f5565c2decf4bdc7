// The timer control: ticks while enabled, none while disabled, and its interval.
#include "support.h"

#include "cvi_timer.h"

#include <QTest>

using Timer = UiTest;

namespace {

int ticksDuring(int milliseconds) {
    recorded.clear();
    QTest::qWait(milliseconds);
    return countEvents(EVENT_TIMER_TICK, GOOD_TIMER);
}

} // namespace

TEST_F(Timer, TicksOnlyWhileEnabled) {
    const int panel = loadGood();
    int enabled = -1;
    GetCtrlAttribute(panel, GOOD_TIMER, ATTR_ENABLED, &enabled);
    EXPECT_EQ(enabled, 0); // as the form says
    EXPECT_EQ(ticksDuring(200), 0);

    ASSERT_EQ(SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, 0.03), 0);
    ASSERT_EQ(SetCtrlAttribute(panel, GOOD_TIMER, ATTR_ENABLED, 1), 0);
    GetCtrlAttribute(panel, GOOD_TIMER, ATTR_ENABLED, &enabled);
    EXPECT_EQ(enabled, 1);
    EXPECT_GT(ticksDuring(400), 0);
    for (const Recorded &tick : recorded) {
        EXPECT_EQ(tick.panel, panel);
        EXPECT_EQ(tick.data1, 0);
        EXPECT_EQ(tick.data2, 0);
    }

    SetCtrlAttribute(panel, GOOD_TIMER, ATTR_ENABLED, 0);
    EXPECT_EQ(ticksDuring(200), 0);
}

TEST_F(Timer, SettingTheIntervalWhileDisabledDoesNotStartIt) {
    const int panel = loadGood();
    ASSERT_EQ(SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, 0.02), 0);
    EXPECT_EQ(ticksDuring(200), 0);
}

TEST_F(Timer, TooShortIntervalsTickAtTheShortestPeriod) {
    const int panel = loadGood();
    auto *timer = qobject_cast<CviTimer *>(control(panel, GOOD_TIMER));
    ASSERT_NE(timer, nullptr);
    SetCtrlAttribute(panel, GOOD_TIMER, ATTR_ENABLED, 1);
    for (double seconds : {0.0, -1.0, 0.001}) {
        ASSERT_EQ(SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, seconds), 0);
        EXPECT_EQ(timer->periodMs(), 20) << seconds;
        const int ticks = ticksDuring(300);
        // Some ticks, but nothing like a busy loop.
        EXPECT_GT(ticks, 0) << seconds;
        EXPECT_LT(ticks, 40) << seconds;
    }
    SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, 1);
    EXPECT_EQ(timer->periodMs(), 1000);
}

TEST_F(Timer, SettingTheIntervalRestartsIt) {
    const int panel = loadGood();
    SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, 1.0);
    SetCtrlAttribute(panel, GOOD_TIMER, ATTR_ENABLED, 1);
    recorded.clear();
    // Set again every 100 ms for 1.5 s: a timer that is restarted each time never gets to tick.
    for (int i = 0; i < 15; ++i) {
        QTest::qWait(100);
        SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, 1.0);
    }
    EXPECT_EQ(countEvents(EVENT_TIMER_TICK, GOOD_TIMER), 0);
}

TEST_F(Timer, DiscardedPanelNoLongerTicks) {
    const int panel = LoadPanel(0, formPath("good.ui").toLocal8Bit().constData(), GOOD_PANEL);
    ASSERT_GE(panel, 1);
    SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, 0.02);
    SetCtrlAttribute(panel, GOOD_TIMER, ATTR_ENABLED, 1);
    DiscardPanel(panel);
    EXPECT_EQ(ticksDuring(200), 0);
}
