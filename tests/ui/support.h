// Shared by the run-time's tests: the recorded callback events, the test forms and helpers
// that drive a modal pop-up and write small files.
#pragma once

#include "ui_runtime.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// One callback call; control is 0 for the panel callback.
struct Recorded {
    int panel, control, event, data1, data2;
};

extern std::vector<Recorded> recorded;
int countEvents(int event, int control = -1); // control -1: any

// Control ids of forms/good.ui.
constexpr int GOOD_PANEL = 1, GOOD_START = 2, GOOD_PAUSE = 3, GOOD_SCORE = 4, GOOD_SPEED = 5,
              GOOD_RECORD = 6, GOOD_NOTES = 7, GOOD_WEB = 8, GOOD_QUIT = 9, GOOD_BOARD = 10,
              GOOD_LED = 11, GOOD_TIMER = 15;

QByteArray formPath(const char *name); // a file of tests/ui/forms
QWidget *panelWindow(int panel);       // the loaded panel's top-level widget
QWidget *control(int panel, int id);
int ctrlAttribute(int panel, int id, int attribute); // -1 when the call fails

// Runs action on the next modal message box as soon as it is up.
void whenPopupShows(std::function<void(QMessageBox *)> action);

// Writes the bytes, or a BMP of one colour; the path of the file.
QString writeFile(const QString &path, const QByteArray &bytes);
QString writeBmp(const QString &directory, const char *name, int width, int height, unsigned rgb);

// Each test starts with the application up, no recorded events and quiet error reports, and
// discards the panels that it loaded.
class UiTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Loads a form (failing the test if that does not work) and, for show, waits until its
    // window is up and forgets the events of showing it.
    int load(const char *form = "good.ui", int id = GOOD_PANEL);
    int show(const char *form = "good.ui", int id = GOOD_PANEL);
    std::vector<int> panels;
};
