// Values and attributes of controls: numerics, text boxes, buttons, visibility, the LED and
// focus.
#include "support.h"

#include "cvi_led.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using Controls = UiTest;

TEST_F(Controls, NumericsTakeIntAndDoubleEitherWay) {
    const int panel = loadGood();
    const struct {
        int id;
        double set;
        bool asInt;
        int expectInt;
        double expectDouble;
    } cases[] = {
        {GOOD_SCORE, 999999, true, 999999, 999999.0}, // beyond the form's maximum of 99
        {GOOD_SCORE, 12.6, false, 13, 13.0},          // rounded to the integer display
        {GOOD_SPEED, 99999.25, false, 99999, 99999.25},
        {GOOD_SPEED, 42, true, 42, 42.0},
        {GOOD_SPEED, 0.126, false, 0, 0.13}, // two decimals
    };
    for (const auto &each : cases) {
        if (each.asInt)
            ASSERT_EQ(SetCtrlVal(panel, each.id, static_cast<int>(each.set)), 0);
        else
            ASSERT_EQ(SetCtrlVal(panel, each.id, each.set), 0);
        int asInt = -1;
        double asDouble = -1;
        ASSERT_EQ(GetCtrlVal(panel, each.id, &asInt), 0);
        ASSERT_EQ(GetCtrlVal(panel, each.id, &asDouble), 0);
        EXPECT_EQ(asInt, each.expectInt) << each.id << " set to " << each.set;
        EXPECT_DOUBLE_EQ(asDouble, each.expectDouble) << each.id << " set to " << each.set;
    }
}

TEST_F(Controls, BadTargetsAreRefused) {
    const int panel = loadGood();
    int value = 0;
    EXPECT_LT(SetCtrlVal(panel, 99, 1), 0);         // no such control
    EXPECT_LT(SetCtrlVal(panel, GOOD_BOARD, 1), 0); // a graph has no value
    EXPECT_LT(GetCtrlVal(panel, GOOD_SCORE, static_cast<int *>(nullptr)), 0);
    EXPECT_LT(SetCtrlAttribute(panel, GOOD_SCORE, ATTR_CMD_BUTTON_COLOR, 0), 0);
    EXPECT_LT(SetCtrlAttribute(panel, GOOD_START, ATTR_INTERVAL, 1.0), 0);
    EXPECT_LT(GetCtrlAttribute(panel, GOOD_START, ATTR_ON_COLOR, &value), 0);
    EXPECT_LT(ResetTextBox(panel, GOOD_SCORE, "text"), 0);
}

TEST_F(Controls, ResetTextBoxReplacesTheWholeText) {
    const int panel = loadGood();
    auto *line = qobject_cast<QLineEdit *>(control(panel, GOOD_RECORD));
    auto *notes = qobject_cast<QPlainTextEdit *>(control(panel, GOOD_NOTES));
    ASSERT_EQ(ResetTextBox(panel, GOOD_RECORD, "first"), 0);
    ASSERT_EQ(ResetTextBox(panel, GOOD_RECORD, "1234"), 0);
    EXPECT_EQ(line->text(), "1234");
    ASSERT_EQ(ResetTextBox(panel, GOOD_NOTES, "one\ntwo"), 0);
    ASSERT_EQ(ResetTextBox(panel, GOOD_NOTES, "caf\xC3\xA9\n\xC2\xA9 2026"), 0);
    EXPECT_EQ(notes->toPlainText(), QString::fromUtf8("caf\xC3\xA9\n\xC2\xA9 2026"));
    ASSERT_EQ(ResetTextBox(panel, GOOD_NOTES, nullptr), 0);
    EXPECT_TRUE(notes->toPlainText().isEmpty());
}

TEST_F(Controls, ButtonColourStartsAsTheStyleGivesItAndComesBack) {
    qApp->setStyleSheet("QPushButton { background-color: #123456; }");
    const int panel = loadGood();
    auto *pause = qobject_cast<QPushButton *>(control(panel, GOOD_PAUSE));
    int original = 0, colour = 0;
    ASSERT_EQ(GetCtrlAttribute(panel, GOOD_PAUSE, ATTR_CMD_BUTTON_COLOR, &original), 0);
    EXPECT_EQ(original, 0x123456);
    ASSERT_EQ(SetCtrlAttribute(panel, GOOD_PAUSE, ATTR_CMD_BUTTON_COLOR, VAL_GREEN), 0);
    GetCtrlAttribute(panel, GOOD_PAUSE, ATTR_CMD_BUTTON_COLOR, &colour);
    EXPECT_EQ(colour, VAL_GREEN);
    pause->ensurePolished();
    EXPECT_EQ(pause->palette().color(QPalette::Active, QPalette::Button).rgb() & 0xFFFFFF,
              0x00FF00u);
    SetCtrlAttribute(panel, GOOD_PAUSE, ATTR_CMD_BUTTON_COLOR, original);
    GetCtrlAttribute(panel, GOOD_PAUSE, ATTR_CMD_BUTTON_COLOR, &colour);
    EXPECT_EQ(colour, original);
    EXPECT_TRUE(pause->styleSheet().isEmpty()); // the style's own look again
    qApp->setStyleSheet(QString());
}

TEST_F(Controls, DimmingAndVisibility) {
    const int panel = loadAndShowGood();
    int value = -1;
    ASSERT_EQ(SetCtrlAttribute(panel, GOOD_START, ATTR_DIMMED, 1), 0);
    EXPECT_FALSE(control(panel, GOOD_START)->isEnabled());
    GetCtrlAttribute(panel, GOOD_START, ATTR_DIMMED, &value);
    EXPECT_EQ(value, 1);
    SetCtrlAttribute(panel, GOOD_START, ATTR_DIMMED, 0);
    EXPECT_TRUE(control(panel, GOOD_START)->isEnabled());
    for (int id : {GOOD_SCORE, GOOD_BOARD, GOOD_LED, GOOD_WEB}) {
        ASSERT_EQ(SetCtrlAttribute(panel, id, ATTR_VISIBLE, 0), 0);
        EXPECT_FALSE(control(panel, id)->isVisible()) << id;
        GetCtrlAttribute(panel, id, ATTR_VISIBLE, &value);
        EXPECT_EQ(value, 0) << id;
        SetCtrlAttribute(panel, id, ATTR_VISIBLE, 1);
        EXPECT_TRUE(control(panel, id)->isVisible()) << id;
    }
}

TEST_F(Controls, LedValueColoursAndAccessibleState) {
    const int panel = loadGood();
    auto *led = qobject_cast<CviLed *>(control(panel, GOOD_LED));
    ASSERT_NE(led, nullptr);
    SetCtrlAttribute(panel, GOOD_LED, ATTR_ON_COLOR, VAL_GREEN);
    SetCtrlAttribute(panel, GOOD_LED, ATTR_OFF_COLOR, VAL_RED);
    int colour = 0, value = -1;
    GetCtrlAttribute(panel, GOOD_LED, ATTR_ON_COLOR, &colour);
    EXPECT_EQ(colour, VAL_GREEN);
    GetCtrlAttribute(panel, GOOD_LED, ATTR_OFF_COLOR, &colour);
    EXPECT_EQ(colour, VAL_RED);
    led->resize(20, 20);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(led);
    ASSERT_NE(accessible, nullptr);
    for (int lit : {1, 0, 1}) {
        ASSERT_EQ(SetCtrlVal(panel, GOOD_LED, lit), 0);
        GetCtrlVal(panel, GOOD_LED, &value);
        EXPECT_EQ(value, lit);
        EXPECT_EQ(led->accessibleDescription(), lit ? "lit" : "dark");
        EXPECT_EQ(static_cast<bool>(accessible->state().checked), lit == 1);
        // The lamp's centre shows the current colour.
        const QRgb centre = led->grab().toImage().pixel(10, 10) & 0xFFFFFF;
        EXPECT_EQ(centre, lit ? 0x00FF00u : 0xFF0000u);
    }
}

TEST_F(Controls, SetActiveCtrlGivesTheFocus) {
    const int panel = loadAndShowGood();
    ASSERT_EQ(SetActiveCtrl(panel, GOOD_PAUSE), 0);
    EXPECT_EQ(panelWindow(panel)->focusWidget(), control(panel, GOOD_PAUSE));
    ASSERT_EQ(SetActiveCtrl(panel, GOOD_QUIT), 0);
    EXPECT_EQ(panelWindow(panel)->focusWidget(), control(panel, GOOD_QUIT));
    EXPECT_LT(SetActiveCtrl(panel, 99), 0);
}
