// The modal pop-ups: a message with OK, and a question with up to three buttons whose labels
// carry their keyboard shortcuts.
#include "ui_runtime.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

namespace {

// "__X" marks X as the shortcut, which Qt writes "&X"; a plain "&" must stay a character.
QString buttonText(const char *label) {
    const QString in = QString::fromUtf8(label);
    QString out;
    for (int i = 0; i < in.size(); ++i) {
        if (in.at(i) == QLatin1Char('&')) {
            out += QStringLiteral("&&");
        } else if (in.at(i) == QLatin1Char('_') && i + 2 < in.size() &&
                   in.at(i + 1) == QLatin1Char('_')) {
            out += QLatin1Char('&');
            ++i; // the letter itself comes next round
        } else {
            out += in.at(i);
        }
    }
    return out;
}

void prepareBox(QMessageBox &box, const char *title, const char *message) {
    box.setWindowTitle(title ? QString::fromUtf8(title) : QString());
    box.setTextFormat(Qt::PlainText);
    box.setText(message ? QString::fromUtf8(message) : QString());
    box.setWindowModality(Qt::ApplicationModal);
}

} // namespace

int MessagePopup(const char *title, const char *message) {
    // The installation check may call this before InitCVIRTEEx.
    if (!uirt::ensureApplication()) {
        // Without a display the message still reaches whoever started the program.
        std::fprintf(stderr, "%s: %s\n", title ? title : "", message ? message : "");
        return uirt::fail("MessagePopup", uirt::ERR_BAD_ARGUMENT, "no widgets application");
    }
    QMessageBox box(uirt::popupParent()); // a parent centres the box on it
    prepareBox(box, title, message);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return 0;
}

int GenericMessagePopup(const char *title, const char *message, const char *button1,
                        const char *button2, const char *button3, char *responseBuffer,
                        int maxResponseLength, int, int activeControl, int enterButton,
                        int escapeButton) {
    if (!uirt::ensureApplication())
        return uirt::fail("GenericMessagePopup", uirt::ERR_BAD_ARGUMENT, "no widgets application");
    if (responseBuffer && maxResponseLength > 0)
        responseBuffer[0] = '\0'; // these boxes ask for no text
    QMessageBox box(uirt::popupParent());
    prepareBox(box, title, message);
    // Button k answers k; an absent one ("" or null) leaves its number unused.
    QPushButton *answerButtons[3] = {nullptr, nullptr, nullptr};
    int last = 0;
    const char *labels[3] = {button1, button2, button3};
    for (int number = 1; number <= 3; ++number) {
        const char *label = labels[number - 1];
        if (!label || !*label)
            continue;
        // One role for all keeps them in the order given.
        answerButtons[number - 1] = box.addButton(buttonText(label), QMessageBox::ActionRole);
        // Enter presses only the chosen default button, wherever the focus is.
        answerButtons[number - 1]->setAutoDefault(false);
        last = number;
    }
    if (!last)
        return uirt::fail("GenericMessagePopup", uirt::ERR_BAD_ARGUMENT, "no button");
    auto button = [&](int number) {
        return number >= 1 && number <= 3 ? answerButtons[number - 1] : nullptr;
    };

    if (QPushButton *enter = button(enterButton))
        box.setDefaultButton(enter);
    // Without an escape button, Escape answers the last one.
    const int escape = button(escapeButton) ? escapeButton : last;
    box.setEscapeButton(button(escape));
    if (QPushButton *active = button(activeControl))
        active->setFocus();
    // QMessageBox itself answers a shortcut letter pressed alone.
    box.exec();

    QAbstractButton *clicked = box.clickedButton();
    for (int number = 1; number <= 3; ++number)
        if (clicked && button(number) == clicked)
            return number;
    return escape;
}
