// Start-up: the order of main's steps, the controls' first state, and its exit codes.
#include "game_fixture.h"

#include "game_sounds.h"
#include "game_state.h"
#include "records_file.h"
#include "stakko.h"

int stakkoMain(int argc, char *argv[]);

namespace {

char programName[] = "KIVO_Stakko";
char *arguments[] = {programName, nullptr};

using StartUpTest = GameTest;

TEST_F(StartUpTest, RunsEveryStepInOrderAndEndsWithZero) {
    soundOn = 0;
    pauseActive = 1;
    fake::ui.onRun = [] {
        // Inside the event loop the idle panel is set up: sound on, nothing held.
        EXPECT_EQ(soundOn, 1);
        EXPECT_EQ(pauseActive, 0);
        EXPECT_EQ(gameRunning, 0);
    };
    ASSERT_EQ(stakkoMain(1, arguments), 0);

    const std::vector<std::string> expected = {
        "InitCVIRTEEx()",
        "LoadPanel(0, stakko.uir, 1)",
        "SetCtrlAttribute(1, 15, 1271, 0)",
        "SetCtrlAttribute(1, 11, 920, 65280)",
        "SetCtrlAttribute(1, 11, 921, 16711680)",
        "SetCtrlVal(1, 11, 0)",
        "SetCtrlAttribute(1, 5, 500, 1)",
        "GetCtrlAttribute(1, 5, 880)",
        "ResetTextBox(1, 13, 0)",
        "ResetTextBox(1, 12, 9999.00)",
        "SetPanelSize(1, 792, 461)",
        "DisplayPanel(1)",
        "RunUserInterface()",
        "DiscardPanel(1)",
    };
    std::vector<std::string> afterCheck(fake::ui.log.begin() + fake::find("InitCVIRTEEx()"),
                                        fake::ui.log.end());
    EXPECT_EQ(afterCheck, expected);
    // Start-up reads the records but never writes them.
    EXPECT_EQ(readRecordsFile(), "");
}

TEST_F(StartUpTest, RememberTheButtonColourAsLoaded) {
    fake::ui.attributes[{PANEL_PAUSE, ATTR_CMD_BUTTON_COLOR}] = 0x3A4B5C;
    ASSERT_EQ(stakkoMain(1, arguments), 0);
    EXPECT_EQ(defaultButtonColour, 0x3A4B5C);
}

TEST_F(StartUpTest, FailuresOfTheRunTimeAndThePanelEndWithMinusOne) {
    fake::ui.initResult = 0;
    EXPECT_EQ(stakkoMain(1, arguments), -1);
    EXPECT_EQ(fake::find("LoadPanel(0, stakko.uir, 1)"), -1);

    fake::reset();
    fake::installAllFiles();
    fake::ui.loadResult = -3;
    EXPECT_EQ(stakkoMain(1, arguments), -1);
    EXPECT_EQ(fake::find("DisplayPanel(-3)"), -1);
    EXPECT_TRUE(fake::callsStartingWith("MessagePopup").empty());
}

TEST_F(StartUpTest, MissingFileShowsItsMessageBeforeTheRunTimeStarts) {
    fake::ui.presentFiles.erase("stakko.uir");
    EXPECT_EQ(stakkoMain(1, arguments), 0);
    EXPECT_EQ(fake::callsStartingWith("MessagePopup"),
              std::vector<std::string>{"MessagePopup(Error, Missing UIR file.)"});
    EXPECT_EQ(fake::find("InitCVIRTEEx()"), -1);
    EXPECT_TRUE(fake::callsStartingWith("LoadPanel").empty());
}

TEST_F(StartUpTest, OpensAtTheStoredSizeWithTheStoredRecords) {
    writeRecordsFile("640\n380\n1250\n3.418750\n");
    ASSERT_EQ(stakkoMain(1, arguments), 0);
    EXPECT_NE(fake::find("SetPanelSize(1, 640, 380)"), -1);
    EXPECT_EQ(fake::ui.texts[PANEL_HIGHSCORE], "1250");
    EXPECT_EQ(fake::ui.texts[PANEL_HIGHSPEED], "3.42");
}

} // namespace
