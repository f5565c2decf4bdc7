// Start-up: the order of main's steps, the controls' first state, and its exit codes.
#include "game_fixture.h"

int stakkoMain(int argc, char *argv[]);

static char programName[] = "KIVO_Stakko";
static char *arguments[] = {programName, nullptr};

using StartUpTest = GameTest;

TEST_F(StartUpTest, RunsEveryStepInOrderWithTheStoredRecordsAndEndsWithZero) {
    for (std::string records : {"", "640\n380\n1250\n3.418750\n"}) {
        fake::reset();
        fake::ui.attributes[{PANEL_PAUSE, ATTR_CMD_BUTTON_COLOR}] = 0x3A4B5C;
        if (!records.empty()) {
            writeRecordsFile(records);
        }
        soundOn = 0;
        pauseActive = 1;
        fake::ui.onRun = [] {
            // Inside the event loop the idle panel is set up: sound on, nothing held.
            EXPECT_EQ(soundOn, 1);
            EXPECT_EQ(pauseActive, 0);
            EXPECT_EQ(gameRunning, 0);
            EXPECT_EQ(defaultButtonColour, 0x3A4B5C);
        };
        ASSERT_EQ(stakkoMain(1, arguments), 0);
        const bool stored = !records.empty();
        const Log expected = {"InitCVIRTEEx()",
                              "LoadPanel(0, stakko.uir, 1)",
                              "SetCtrlAttribute(1, 15, 1271, 0)",
                              "SetCtrlAttribute(1, 11, 920, 65280)",
                              "SetCtrlAttribute(1, 11, 921, 16711680)",
                              "SetCtrlVal(1, 11, 0)",
                              "SetCtrlAttribute(1, 5, 500, 1)",
                              "GetCtrlAttribute(1, 5, 880)",
                              stored ? "ResetTextBox(1, 13, 1250)" : "ResetTextBox(1, 13, 0)",
                              stored ? "ResetTextBox(1, 12, 3.42)" : "ResetTextBox(1, 12, 9999.00)",
                              stored ? "SetPanelSize(1, 640, 380)" : "SetPanelSize(1, 792, 461)",
                              "DisplayPanel(1)",
                              "RunUserInterface()",
                              "DiscardPanel(1)"};
        EXPECT_EQ(Log(fake::ui.log.begin() + fake::find("InitCVIRTEEx()"), fake::ui.log.end()),
                  expected);
        EXPECT_EQ(readRecordsFile(), records); // read, never written
    }
}

TEST_F(StartUpTest, FailuresEndBeforeThePanelShows) {
    // A missing file ends with 0 after its message, the run-time or the panel failing with -1.
    for (int failure = 0; failure < 3; failure++) {
        fake::reset();
        if (failure == 0) {
            fake::ui.presentFiles.erase("stakko.uir");
        }
        fake::ui.initResult = failure == 1 ? 0 : 1;
        fake::ui.loadResult = failure == 2 ? -3 : 1;
        EXPECT_EQ(stakkoMain(1, arguments), failure == 0 ? 0 : -1) << failure;
        EXPECT_EQ(popups(), failure == 0 ? Log{"MessagePopup(Error, Missing UIR file.)"} : Log{});
        EXPECT_EQ(fake::find("InitCVIRTEEx()") >= 0, failure > 0);
        EXPECT_EQ(fake::find("LoadPanel(0, stakko.uir, 1)") >= 0, failure > 1);
        EXPECT_TRUE(calls("DisplayPanel").empty()) << failure;
    }
}
