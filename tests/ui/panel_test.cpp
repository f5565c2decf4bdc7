// Loading, showing, sizing and discarding panels.
#include "support.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTest>

using PanelLoad = UiTest;

TEST_F(PanelLoad, GoodFormGivesAHandleAndKeepsItsAccessibleNames) {
    const int panel = loadGood();
    ASSERT_GE(panel, 1);
    EXPECT_EQ(panelWindow(panel)->windowTitle(), "Test panel");
    const struct {
        int id;
        const char *name;
    } names[] = {{GOOD_START, "Start"},  {GOOD_SCORE, "Score"},
                 {GOOD_SPEED, "Speed"},  {GOOD_RECORD, "Score record"},
                 {GOOD_WEB, "Web page"}, {GOOD_LED, "Game running"},
                 {GOOD_BOARD, "Board"},  {GOOD_TIMER, "Fall timer"}};
    for (const auto &each : names) {
        ASSERT_NE(control(panel, each.id), nullptr) << each.id;
        EXPECT_EQ(control(panel, each.id)->accessibleName(), each.name);
    }
    // The timer is never on screen, even with its panel shown.
    DisplayPanel(panel);
    EXPECT_TRUE(control(panel, GOOD_TIMER)->isHidden());
}

TEST_F(PanelLoad, HandlesAreDistinct) {
    const int first = loadGood();
    const int second = loadGood();
    EXPECT_NE(first, second);
    EXPECT_NE(panelWindow(first), panelWindow(second));
}

TEST_F(PanelLoad, DisplaysAreReadOnly) {
    const int panel = loadGood();
    auto *score = qobject_cast<QSpinBox *>(control(panel, GOOD_SCORE));
    auto *speed = qobject_cast<QDoubleSpinBox *>(control(panel, GOOD_SPEED));
    ASSERT_TRUE(score && speed);
    for (QAbstractSpinBox *spin :
         {static_cast<QAbstractSpinBox *>(score), static_cast<QAbstractSpinBox *>(speed)}) {
        EXPECT_TRUE(spin->isReadOnly());
        EXPECT_EQ(spin->buttonSymbols(), QAbstractSpinBox::NoButtons);
    }
    EXPECT_TRUE(qobject_cast<QLineEdit *>(control(panel, GOOD_RECORD))->isReadOnly());
    EXPECT_TRUE(qobject_cast<QPlainTextEdit *>(control(panel, GOOD_NOTES))->isReadOnly());
}

TEST_F(PanelLoad, EachFailureGivesANegativeHandleAndLeavesNoWindow) {
    const struct {
        const char *file;
        int id;
    } cases[] = {
        {"missing.ui", 1},
        {"not_a_form.ui", 1},
        {"good.ui", 7},
        {"no_panel_id.ui", 1},
        {"duplicate_ids.ui", 1},
        {"unknown_control_callback.ui", 1},
        {"unknown_panel_callback.ui", 1},
    };
    const int windowsBefore = static_cast<int>(QApplication::topLevelWidgets().size());
    for (const auto &each : cases) {
        EXPECT_LT(LoadPanel(0, formPath(each.file).toLocal8Bit().constData(), each.id), 0)
            << each.file << " as panel " << each.id;
    }
    EXPECT_LT(LoadPanel(0, nullptr, 1), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(static_cast<int>(QApplication::topLevelWidgets().size()), windowsBefore);
}

TEST_F(PanelLoad, DiscardInvalidatesTheHandle) {
    const int panel = LoadPanel(0, formPath("good.ui").toLocal8Bit().constData(), GOOD_PANEL);
    ASSERT_GE(panel, 1);
    QPointer<QWidget> window = panelWindow(panel);
    EXPECT_EQ(DiscardPanel(panel), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    int value = 0;
    EXPECT_LT(DisplayPanel(panel), 0);
    EXPECT_LT(DiscardPanel(panel), 0);
    EXPECT_LT(SetCtrlVal(panel, GOOD_SCORE, 1), 0);
    EXPECT_LT(GetPanelAttribute(panel, ATTR_HEIGHT, &value), 0);
}

TEST_F(PanelLoad, PanelSizeIsTheInnerSize) {
    const int panel = loadGood();
    int height = 0, width = 0;
    ASSERT_EQ(GetPanelAttribute(panel, ATTR_HEIGHT, &height), 0);
    ASSERT_EQ(GetPanelAttribute(panel, ATTR_WIDTH, &width), 0);
    EXPECT_EQ(height, 300); // the form's geometry
    EXPECT_EQ(width, 400);
    ASSERT_EQ(SetPanelSize(panel, 350, 450), 0);
    DisplayPanel(panel);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panelWindow(panel)));
    GetPanelAttribute(panel, ATTR_HEIGHT, &height);
    GetPanelAttribute(panel, ATTR_WIDTH, &width);
    EXPECT_EQ(height, 350);
    EXPECT_EQ(width, 450);
    EXPECT_EQ(panelWindow(panel)->size(), QSize(450, 350));
    EXPECT_LT(SetPanelSize(panel, 0, 450), 0);
    EXPECT_LT(GetPanelAttribute(panel, 12345, &width), 0);
    EXPECT_LT(GetPanelAttribute(panel, ATTR_WIDTH, nullptr), 0);
}
