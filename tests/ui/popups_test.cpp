// The modal pop-ups: the message box, and the question's buttons, shortcuts, Enter and Escape.
#include "support.h"

#include <QPushButton>
#include <tuple>

// The box's buttons in the order the call gave them.
static std::vector<QAbstractButton *> buttonsOf(QMessageBox *box) {
    std::vector<QAbstractButton *> buttons;
    for (QAbstractButton *button : box->buttons())
        buttons.push_back(button);
    std::sort(buttons.begin(), buttons.end(),
              [](QAbstractButton *a, QAbstractButton *b) { return a->x() < b->x(); });
    return buttons;
}

static std::function<void(QMessageBox *)> press(Qt::Key key) {
    return [key](QMessageBox *box) {
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, key);
    };
}

using Popups = UiTest;

TEST_F(Popups, MessagePopupShowsTitleAndTextOnTheActivePanelUntilOk) {
    const int panel = show();
    QString seen;
    whenPopupShows([&](QMessageBox *box) {
        seen = box->windowTitle() + " | " + box->text();
        EXPECT_EQ(box->parentWidget(), panelWindow(panel));
        ASSERT_EQ(box->buttons().size(), 1);
        QTest::mouseClick(box->buttons().first(), Qt::LeftButton);
    });
    EXPECT_EQ(MessagePopup("Help", "Left arrow: <move> left & more"), 0);
    EXPECT_EQ(seen, "Help | Left arrow: <move> left & more");
    EXPECT_EQ(countEvents(EVENT_KEYPRESS), 0); // the panel does not see the pop-up's keys
}

TEST_F(Popups, QuestionShowsShortcutsAndAnswersByButtonLetterEnterAndEscape) {
    const auto clickYes = [](QMessageBox *box) {
        QTest::mouseClick(buttonsOf(box)[0], Qt::LeftButton);
    };
    // What is done, the third button ("" for a Yes/No question), the escape button, the answer.
    const std::tuple<const char *, std::function<void(QMessageBox *)>, const char *, int, int>
        cases[] = {
            {"key y", press(Qt::Key_Y), "", 0, 1},
            {"key n", press(Qt::Key_N), "", 0, 2},
            {"Escape", press(Qt::Key_Escape), "", 0, 2},
            {"Enter", press(Qt::Key_Return), "", 0, 2},
            {"click Yes", clickYes, "", 0, 1},
            {"key h", press(Qt::Key_H), "T__hree", 0, 3},
            {"Escape, no escape button", press(Qt::Key_Escape), "T__hree", 0, 3},
            {"Escape as button 1", press(Qt::Key_Escape), "T__hree", 1, 1},
            {"Escape as button 3", press(Qt::Key_Escape), "T__hree", 3, 3},
        };
    for (const auto &[what, answer, third, escapeButton, expected] : cases) {
        const std::function<void(QMessageBox *)> &act = answer; // a lambda takes no binding
        std::vector<QString> labels;
        bool focusOnSecond = false;
        whenPopupShows([&](QMessageBox *box) {
            const auto buttons = buttonsOf(box);
            for (QAbstractButton *button : buttons)
                labels.push_back(button->text());
            focusOnSecond = buttons.size() > 1 && box->focusWidget() == buttons[1];
            act(box);
        });
        EXPECT_EQ(GenericMessagePopup("Message", "New game?", "__Yes", "__No & quit", third,
                                      nullptr, 0, 0, 2, 2, escapeButton),
                  expected)
            << what;
        std::vector<QString> shown{"&Yes", "&No && quit"};
        if (*third)
            shown.push_back("T&hree");
        EXPECT_EQ(labels, shown) << what;
        EXPECT_TRUE(focusOnSecond) << what;
    }
}
