// Loading, discarding and sizing panels, and the size events of the user's resizing.
#include "support.h"

#include <QAbstractSpinBox>
#include <tuple>

using Panels = UiTest;

static QSize panelSize(int panel) {
    int height = -1, width = -1;
    GetPanelAttribute(panel, ATTR_HEIGHT, &height);
    GetPanelAttribute(panel, ATTR_WIDTH, &width);
    return {width, height};
}

TEST_F(Panels, GoodFormGivesDistinctHandlesNamedControlsAndReadOnlyDisplays) {
    const int panel = load(), other = load();
    EXPECT_NE(panel, other);
    EXPECT_NE(panelWindow(panel), panelWindow(other));
    EXPECT_EQ(panelWindow(panel)->windowTitle(), "Test panel");
    const std::pair<int, const char *> names[] = {{GOOD_START, "Start"},
                                                  {GOOD_RECORD, "Score record"},
                                                  {GOOD_LED, "Game running"},
                                                  {GOOD_TIMER, "Fall timer"}};
    for (const auto &[id, name] : names) {
        ASSERT_NE(control(panel, id), nullptr) << id;
        EXPECT_EQ(control(panel, id)->accessibleName(), name);
    }
    for (int id : {GOOD_SCORE, GOOD_SPEED, GOOD_RECORD, GOOD_NOTES})
        EXPECT_TRUE(control(panel, id)->property("readOnly").toBool()) << id;
    for (int id : {GOOD_SCORE, GOOD_SPEED})
        EXPECT_EQ(qobject_cast<QAbstractSpinBox *>(control(panel, id))->buttonSymbols(),
                  QAbstractSpinBox::NoButtons);
    DisplayPanel(panel); // the timer is never on screen
    EXPECT_TRUE(control(panel, GOOD_TIMER)->isHidden());
}

TEST_F(Panels, EachFailureGivesItsErrorAndLeavesNoWindow) {
    // Each form, the panel id asked of it, and the error.
    const std::tuple<const char *, int, int> cases[] = {
        {"missing.ui", 1, uirt::ERR_PANEL_FILE},
        {"not_a_form.ui", 1, uirt::ERR_PANEL_FILE},
        {"good.ui", 7, uirt::ERR_RESOURCE_ID},
        {"no_panel_id.ui", 1, uirt::ERR_RESOURCE_ID},
        {"duplicate_ids.ui", 1, uirt::ERR_DUPLICATE_ID},
        {"unknown_control_callback.ui", 1, uirt::ERR_CALLBACK},
        {"unknown_panel_callback.ui", 1, uirt::ERR_CALLBACK},
        {"library_function_callback.ui", 1, uirt::ERR_CALLBACK},
    };
    const auto windowsBefore = QApplication::topLevelWidgets().size();
    for (const auto &[form, id, error] : cases)
        EXPECT_EQ(LoadPanel(0, formPath(form).constData(), id), error) << form;
    EXPECT_LT(LoadPanel(0, nullptr, 1), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
}

TEST_F(Panels, DiscardInvalidatesTheHandleAndStopsTheTimer) {
    const int panel = LoadPanel(0, formPath("good.ui").constData(), GOOD_PANEL);
    ASSERT_GE(panel, 1);
    SetCtrlAttribute(panel, GOOD_TIMER, ATTR_INTERVAL, 0.02);
    SetCtrlAttribute(panel, GOOD_TIMER, ATTR_ENABLED, 1);
    QPointer<QWidget> window = panelWindow(panel);
    EXPECT_EQ(DiscardPanel(panel), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    QTest::qWait(200);
    EXPECT_EQ(countEvents(EVENT_TIMER_TICK), 0);
    EXPECT_LT(DisplayPanel(panel), 0);
    EXPECT_LT(DiscardPanel(panel), 0);
    EXPECT_LT(SetCtrlVal(panel, GOOD_SCORE, 1), 0);
    EXPECT_EQ(panelSize(panel), QSize(-1, -1));
}

TEST_F(Panels, SizeIsTheInnerSizeAndOnlyTheUsersResizingIsAnEvent) {
    const int panel = load();
    EXPECT_EQ(panelSize(panel), QSize(400, 300)); // the form's geometry
    ASSERT_EQ(SetPanelSize(panel, 350, 450), 0);  // before the first show, as the game does
    DisplayPanel(panel);
    QWidget *window = panelWindow(panel);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->size(), QSize(450, 350));
    ASSERT_EQ(SetPanelSize(panel, 330, 430), 0); // and while shown
    QTest::qWait(50);
    EXPECT_EQ(panelSize(panel), QSize(430, 330));
    EXPECT_EQ(countEvents(EVENT_PANEL_SIZE), 0);

    window->windowHandle()->resize(500, 350); // as when the user drags the window's border
    QTest::qWait(50);
    EXPECT_EQ(countEvents(EVENT_PANEL_SIZE, 0), 1);
    EXPECT_EQ(panelSize(panel), QSize(500, 350));
    int value = 0;
    EXPECT_LT(SetPanelSize(panel, 0, 450), 0);
    EXPECT_LT(GetPanelAttribute(panel, 12345, &value), 0);
    EXPECT_LT(GetPanelAttribute(panel, ATTR_WIDTH, nullptr), 0);
}
