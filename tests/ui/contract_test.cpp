// The run-time's contract, as every back end must keep it: the shipped panel form loaded, its
// controls' values and attributes, plots, input reaching the callbacks the form names, the
// timer, the pop-ups and the screen. Runs in the installation folder.
#include "inject.h"
#include "rt.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

static std::string events; // "name control event data1;" for each callback call

static int record(const char *name, int control, int event, int data1) {
    events += name + (" " + std::to_string(control) + " " + std::to_string(event) + " " +
                      std::to_string(data1) + ";");
    return 0;
}
#define RECORDER(name)                                                                             \
    extern "C" int CVICALLBACK name(int, int control, int event, void *, int data1, int data2) {   \
        return record(#name, control, event, control == 14 ? data1 > 0 : data1 + data2);           \
    }
// clang-format off
RECORDER(TimerCallback) RECORDER(Start) RECORDER(pauseGame) RECORDER(noSound) RECORDER(Help)
RECORDER(QuitCallback) RECORDER(goOnline)
extern "C" int CVICALLBACK MainCallBk(int, int event, void *, int data1, int data2) {
    return record("MainCallBk", data2, event, data1); // in the control's place: data2, always 0
}
// clang-format on

namespace {

class Contract : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_EQ(InitCVIRTEEx(0, nullptr, 0), 1); }
    void SetUp() override {
        ASSERT_GE(panel = LoadPanel(0, "stakko.uir", 1), 1);
        events.clear();
    }
    void TearDown() override { EXPECT_EQ(DiscardPanel(panel), 0); }
    void show() {
        SetPanelSize(panel, 500, 400);
        ASSERT_EQ(DisplayPanel(panel), 0);
        inject::pump(300);
        events.clear();
    }
    int panel = 0;
};

TEST_F(Contract, ControlsKeepWhatIsSetAndRefuseWhatDoesNotApply) {
    int value = 0, colour = 0, height = 0, width = 0, call = 0;
    long size = 0;
    EnableBreakOnLibraryErrors();
    EXPECT_EQ(DisableBreakOnLibraryErrors(), 1); // was on; refusals are answers, not noise
    testing::internal::CaptureStderr();
    for (int refused :
         {SetCtrlAttribute(panel, 4, ATTR_INTERVAL, 1.0),
          SetCtrlAttribute(panel, 8, ATTR_ON_COLOR, 0), SetCtrlVal(panel, 8, 1),
          ResetTextBox(panel, 4, "1"), SetCtrlVal(panel, 99, 1), SetActiveCtrl(panel, 99),
          GetCtrlVal(panel, 99, &value), GetCtrlAttribute(panel, 4, ATTR_INTERVAL, &value),
          SetCtrlVal(panel + 100, 4, 1), LaunchExecutable(""), SetPanelSize(panel, 0, 420),
          SetPanelSize(panel, 600, 0), LoadPanel(0, "no such form.uir", 1),
          LoadPanel(0, "stakko.uir", 2)})
        EXPECT_LT(refused, 0) << "refusal " << call++;
    EXPECT_EQ(CVI_GetFileSize("Images/none.bmp", &size), -1);
    EXPECT_EQ(CVI_GetFileSize("Images", &size), -5); // a folder is no file
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    for (int done : {SetCtrlVal(panel, 4, 12345), GetCtrlVal(panel, 4, &value),
                     SetCtrlAttribute(panel, 5, ATTR_CMD_BUTTON_COLOR, 0xFF0000),
                     GetCtrlAttribute(panel, 5, ATTR_CMD_BUTTON_COLOR, &colour), // read at start
                     ResetTextBox(panel, 13, "1250"), CVI_GetFileSize("stakko.uir", &size),
                     SetPanelSize(panel, 1, 1), SetPanelSize(panel, 600, 420),
                     SetActiveCtrl(panel, 5), GetPanelAttribute(panel, ATTR_HEIGHT, &height),
                     GetPanelAttribute(panel, ATTR_WIDTH, &width)})
        EXPECT_EQ(done, 0) << "call " << call++;
    EXPECT_EQ(std::vector<long>({value, colour, size > 1000, height, width}),
              std::vector<long>({12345, 0xFF0000, 1, 600, 420}));
}

TEST_F(Contract, PlotsAreNumberedOnceAndDrawnWithYUpwardAndChangesShowAtProcessDrawEvents) {
    int red = 0, other = 0;
    auto cell = [](const std::string &colour) { // one file name, its bytes replaced
        std::ofstream("cell.bmp", std::ios::binary)
            << std::ifstream("Images/KIVO_Stakko_Game_" + colour + ".bmp", std::ios::binary)
                   .rdbuf();
    };
    cell("green");
    ASSERT_EQ(GetBitmapFromFile("cell.bmp", &other), 0);
    cell("red");
    ASSERT_EQ(GetBitmapFromFile("cell.bmp", &red), 0); // the file as it is now
    std::remove("cell.bmp");
    EXPECT_LT(GetBitmapFromFile("Images/none.bmp", &other), 0);
    EXPECT_LT(GetBitmapFromFile("stakko.uir", &other), 0);
    const int first = PlotBitmap(panel, 10, 0, 0, 100, 100, nullptr);    // the lower half
    const int second = PlotBitmap(panel, 10, 0, 190, 0.5, 0.5, nullptr); // any size above 0
    EXPECT_GE(first, 1);
    EXPECT_GT(second, first);
    EXPECT_EQ(DeleteGraphPlot(panel, 10, second, 1), 0);
    EXPECT_GT(PlotBitmap(panel, 10, 0, 190, 10, 10, nullptr), second);
    int call = 0;
    for (int refused :
         {DeleteGraphPlot(panel, 10, second, 1), SetCtrlBitmap(panel, 10, second, red),
          SetCtrlBitmap(panel, 10, first, red + 1000), PlotBitmap(panel, 10, 0, 0, 0, 10, nullptr),
          PlotBitmap(panel, 10, 0, 0, 10, 0, nullptr), PlotBitmap(panel, 4, 0, 0, 10, 10, nullptr)})
        EXPECT_LT(refused, 0) << "refusal " << call++;
    EXPECT_EQ(SetCtrlBitmap(panel, 10, first, other), 0); // the first image loaded too
    SetCtrlAttribute(panel, 11, ATTR_OFF_COLOR, 0xFF00FF);
    show();
    EXPECT_EQ(SetCtrlBitmap(panel, 10, first, red), 0); // on a plot shown: drawn at once
    ProcessDrawEvents();
    EXPECT_EQ(inject::pixel(panel, 11, 0.5, 0.5), 0xFF00FF); // the lamp is dark
    const int low = inject::pixel(panel, 10, 0.5, 0.3), high = inject::pixel(panel, 10, 0.5, 0.7);
    EXPECT_GT(low >> 16, 0xC0) << std::hex << low; // red below, board colour above
    EXPECT_LT(low >> 8 & 0xFF, 0x60) << std::hex << low;
    EXPECT_LT(high >> 16, 0x60) << std::hex << high;
    EXPECT_EQ(DeleteGraphPlot(panel, 10, -1, 1), 0);
    EXPECT_LT(DeleteGraphPlot(panel, 10, first, 1), 0);
    SetCtrlAttribute(panel, 11, ATTR_ON_COLOR, 0x00FF00);
    SetCtrlVal(panel, 11, 1);
    SetCtrlAttribute(panel, 5, ATTR_CMD_BUTTON_COLOR, 0x0000FF);
    ProcessDrawEvents(); // no event loop in between, as before a sound
    EXPECT_EQ(inject::pixel(panel, 10, 0.5, 0.3), high) << std::hex << high; // all gone
    EXPECT_EQ(inject::pixel(panel, 11, 0.5, 0.5), 0x00FF00);
    EXPECT_NE(inject::pixel(panel, 11, 0.02, 0.02), 0x00FF00); // round
    EXPECT_EQ(inject::pixel(panel, 5, 0.5, 0.2), 0x0000FF);    // below the button's text
    SetCtrlAttribute(panel, 10, ATTR_VISIBLE, 0);
    ProcessDrawEvents();
    EXPECT_NE(inject::pixel(panel, 10, 0.5, 0.3), high); // the panel shows through
    SetCtrlAttribute(panel, 10, ATTR_VISIBLE, 1);
    // Cells changed together are all drawn, also one between two others; the grid is centred.
    SetPanelSize(panel, 500, 900);
    for (double at : {0.0, 190.0, 95.0})
        SetCtrlBitmap(panel, 10, PlotBitmap(panel, 10, at / 2, at, 10, 10, nullptr), red);
    inject::pump(200); // and the event loop shows the board again
    EXPECT_GT(inject::pixel(panel, 10, 0.5, 0.5) >> 16, 0xC0);
}

TEST_F(Contract, InputReachesTheCallbacksTheFormNamesUnlessDimmed) {
    show();
    SetActiveCtrl(panel, 8); // arrows keep the focus there; Enter commits the focused button
    inject::key(panel, inject::KEY_DOWN, false);
    inject::key(panel, '\r', false);
    inject::key(panel, inject::KEY_DOWN, true);
    inject::key(panel, 'a', false);
    inject::click(panel, 8);
    inject::click(panel, 14);
    inject::closeBox(panel);
    inject::pump(100);
    EXPECT_EQ(events, "MainCallBk 0 7 1792;MainCallBk 0 7 0;Start 8 1 0;MainCallBk 0 7 "
                      "263936;MainCallBk 0 7 97;Start 8 1 0;goOnline 14 3 1;"
                      "MainCallBk 0 11 0;QuitCallback 9 1 0;");
    events.clear();
    SetActiveCtrl(panel, 5);
    SetCtrlAttribute(panel, 5, ATTR_DIMMED, 1); // the focus goes back to the button before
    SetCtrlAttribute(panel, 9, ATTR_DIMMED, 1);
    inject::click(panel, 5);
    inject::key(panel, '\r', false);
    inject::closeBox(panel);
    inject::pump(100);
    EXPECT_EQ(events, "MainCallBk 0 7 0;Start 8 1 0;MainCallBk 0 11 0;");
}

TEST_F(Contract, OnlyThePlayersResizingIsASizeEventAndAPanelTooTallForTheScreenIsFitted) {
    show();
    inject::resize(panel, 640, 480);
    inject::resize(panel, 500, 400); // back to the program's own size, by the player
    SetPanelSize(panel, 60, 50);     // below the form's smallest size: the window's answer is ours
    inject::pump(200);
    EXPECT_EQ(events, "MainCallBk 0 12 0;MainCallBk 0 12 0;");
    int height = 0;
    GetPanelAttribute(panel, ATTR_HEIGHT, &height);
    EXPECT_EQ(height, 100);          // the form's smallest size
    SetPanelSize(panel, 3000, 3000); // taller than the screen: fitted as it is shown
    DisplayPanel(panel);
    inject::pump(300);
    GetPanelAttribute(panel, ATTR_HEIGHT, &height);
    EXPECT_TRUE(height > 100 && height < 3000) << height;
    EXPECT_EQ(events, "MainCallBk 0 12 0;MainCallBk 0 12 0;");
}

TEST_F(Contract, TheTimerTicksOnlyWhileEnabledAndNoFasterThanEvery20ms) {
    SetCtrlAttribute(panel, 15, ATTR_INTERVAL, 0.0);
    SetCtrlAttribute(panel, 15, ATTR_ENABLED, 1);
    inject::pump(400);
    SetCtrlAttribute(panel, 15, ATTR_ENABLED, 0);
    const std::string tick = "TimerCallback 15 15 0;";
    const size_t ticks = events.size() / tick.size();
    EXPECT_EQ(events.substr(0, tick.size()), tick);
    EXPECT_TRUE(ticks >= 5 && ticks <= 21) << ticks; // 400 ms at 20 ms, with the loop's slack
    inject::pump(200);
    EXPECT_EQ(events.size() / tick.size(), ticks);
}

TEST_F(Contract, QuestionsAnswerYesOnlyToTheFirstButtonAndStartOnTheActiveOne) {
    show();
    const struct {
        int key, answer, escape, active; // escape 5: no such button, so none
    } cases[] = {{'Y', 1, 0, 2}, {'N', 2, 0, 2}, {'\r', 2, 0, 2}, {27, 2, 0, 2}, {' ', 2, 0, 2},
                 {27, 1, 1, 2},  {27, 2, 5, 2},  {'\r', 1, 0, 1}}; // Enter: focused
    for (const auto &c : cases) {
        inject::answer(c.key);
        EXPECT_EQ(GenericMessagePopup("Message", "Sure?", "__Yes", "__No", nullptr, nullptr, 0, 0,
                                      c.active, 2, c.escape),
                  c.answer)
            << c.key;
    }
    inject::answer(inject::KEY_UP); // the game's keys leave the focus where it is: on No
    inject::answer('\r');
    EXPECT_EQ(
        GenericMessagePopup("Message", "Sure?", "__Yes", "__No", nullptr, nullptr, 0, 0, 2, 2, 0),
        2);
    inject::answer('\r');
    EXPECT_EQ(MessagePopup("Help", "Text"), 0);
}

} // namespace
