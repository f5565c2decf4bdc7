// The modal pop-ups: the message box, and the question's buttons, shortcuts, Enter and Escape.
#include "support.h"

#include "ui_runtime.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

namespace {

// The box's buttons in the order the call gave them.
std::vector<QAbstractButton *> buttonsOf(QMessageBox *box) {
    std::vector<QAbstractButton *> buttons;
    for (QAbstractButton *button : box->buttons())
        buttons.push_back(button);
    std::sort(buttons.begin(), buttons.end(),
              [](QAbstractButton *a, QAbstractButton *b) { return a->x() < b->x(); });
    return buttons;
}

int askYesNo() {
    return GenericMessagePopup("Message", "Start a new game?", "__Yes", "__No", nullptr, nullptr, 0,
                               0, 2, 2, 0);
}

} // namespace

using Popups = UiTest;

TEST_F(Popups, MessagePopupShowsTitleAndTextUntilOk) {
    QString title, text;
    whenPopupShows([&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        ASSERT_EQ(box->buttons().size(), 1);
        QTest::mouseClick(box->buttons().first(), Qt::LeftButton);
    });
    EXPECT_EQ(MessagePopup("Help", "Left arrow: <move> left & more"), 0);
    EXPECT_EQ(title, "Help");
    EXPECT_EQ(text, "Left arrow: <move> left & more");
}

TEST_F(Popups, QuestionAnswersAsTheGameExpects) {
    const struct {
        const char *what;
        std::function<void(QMessageBox *)> answer;
        int expected;
    } cases[] = {
        {"key y", [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Y); }, 1},
        {"key n", [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_N); }, 2},
        {"Escape", [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); }, 2},
        {"Enter",
         [](QMessageBox *box) {
             QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
         },
         2},
        {"click Yes",
         [](QMessageBox *box) { QTest::mouseClick(buttonsOf(box)[0], Qt::LeftButton); }, 1},
    };
    for (const auto &each : cases) {
        whenPopupShows(each.answer);
        EXPECT_EQ(askYesNo(), each.expected) << each.what;
    }
}

TEST_F(Popups, LabelsShortcutsAndInitialFocus) {
    std::vector<QString> labels;
    QWidget *focused = nullptr, *second = nullptr;
    whenPopupShows([&](QMessageBox *box) {
        const auto buttons = buttonsOf(box);
        for (QAbstractButton *button : buttons)
            labels.push_back(button->text());
        second = buttons.size() > 1 ? buttons[1] : nullptr;
        focused = box->focusWidget();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    GenericMessagePopup("Message", "?", "__Yes", "Fish & __Chips", "", nullptr, 0, 0, 2, 2, 0);
    EXPECT_EQ(labels, (std::vector<QString>{"&Yes", "Fish && &Chips"}));
    EXPECT_EQ(focused, second);
}

TEST_F(Popups, EscapeAnswersTheLastButtonUnlessToldOtherwise) {
    const struct {
        int escapeButton;
        int expected;
    } cases[] = {{0, 3}, {1, 1}, {3, 3}};
    for (const auto &each : cases) {
        whenPopupShows([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); });
        EXPECT_EQ(GenericMessagePopup("Message", "?", "__One", "__Two", "T__hree", nullptr, 0, 0, 1,
                                      1, each.escapeButton),
                  each.expected)
            << each.escapeButton;
    }
    whenPopupShows([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_H); });
    EXPECT_EQ(
        GenericMessagePopup("Message", "?", "__One", "__Two", "T__hree", nullptr, 0, 0, 1, 1, 0),
        3);
}

TEST_F(Popups, PopupsSitOnTheActivePanel) {
    const int panel = loadAndShowGood();
    QWidget *parent = nullptr;
    whenPopupShows([&](QMessageBox *box) {
        parent = box->parentWidget();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    MessagePopup("Title", "Text");
    EXPECT_EQ(parent, panelWindow(panel));
    // The panel's key callback does not see the pop-up's keys.
    EXPECT_EQ(countEvents(EVENT_KEYPRESS), 0);
}

TEST(PopupsBeforeStart, MessagePopupMakesTheApplicationItNeeds) {
    EXPECT_EXIT(
        {
            if (QCoreApplication::instance())
                _exit(2);
            // Runs inside the application's constructor, once the pop-up made one.
            qAddPreRoutine([] {
                whenPopupShows([](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
            });
            MessagePopup("Error", "A file is missing.");
            _exit(qobject_cast<QApplication *>(QCoreApplication::instance()) ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}
