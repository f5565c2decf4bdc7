// Shared by the run-time's tests: the recorded callback events, the test forms and helpers
// that drive a modal pop-up and write small images.
#pragma once

#include "userint.h"

#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

class QMessageBox;
class QWidget;

// One callback call; control is 0 for the panel callback.
struct Recorded {
    int panel;
    int control;
    int event;
    int data1;
    int data2;
};

extern std::vector<Recorded> recorded;
int countEvents(int event, int control = -1); // control -1: any

extern "C" {
int TestPanelCallback(int panel, int event, void *callbackData, int eventData1, int eventData2);
int TestControlCallback(int panel, int control, int event, void *callbackData, int eventData1,
                        int eventData2);
}

// Control ids of forms/good.ui.
enum {
    GOOD_PANEL = 1,
    GOOD_START = 2,
    GOOD_PAUSE = 3,
    GOOD_SCORE = 4,
    GOOD_SPEED = 5,
    GOOD_RECORD = 6,
    GOOD_NOTES = 7,
    GOOD_WEB = 8,
    GOOD_QUIT = 9,
    GOOD_BOARD = 10,
    GOOD_LED = 11,
    GOOD_TIMER = 15,
};

QString formPath(const char *name); // a file of tests/ui/forms
QWidget *panelWindow(int panel);    // the loaded panel's top-level widget
QWidget *control(int panel, int id);

// Runs action on the next modal message box as soon as it is up.
void whenPopupShows(std::function<void(QMessageBox *)> action);

// Writes a 24-bit BMP of one colour; the path of the file.
QString writeBmp(const QString &directory, const char *name, int width, int height, unsigned rgb);

// Each test starts with the application up, no recorded events and quiet error reports, and
// discards the panels that it loaded.
class UiTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    int loadGood(); // loads forms/good.ui, failing the test if that does not work
    int loadAndShowGood();
    std::vector<int> panels;
};
