// The command buttons and the game's states: Pause, Sound, Help, Quit, the web icon and the
// panel's size event.
#include "game_fixture.h"

#include <algorithm>

#include "game_sounds.h"
#include "game_state.h"
#include "records_file.h"
#include "stakko.h"

namespace {

const int buttonColour = 0xD4D0C8;
const std::string quitQuestion = "GenericMessagePopup(Message, Do you quit the game now?, __Yes, "
                                 "__No, null, null, 0, 0, 2, 2, 0)";

enum GameState { idle, running, held };
const char *const stateNames[] = {"idle", "running", "held"};

void commit(CtrlCallbackPtr callback) {
    EXPECT_EQ(callback(1, 0, EVENT_COMMIT, nullptr, 0, 0), 0);
}
void startAnswered(int answer) {
    fake::ui.answers.push_back(answer);
    Start(1, PANEL_START, EVENT_COMMIT, nullptr, 0, 0);
}
void quitAnswered(int answer) {
    fake::ui.answers.push_back(answer);
    commit(QuitCallback);
}

// The flags and the controls as the states table gives them.
void expectState(GameState state, const std::string &what) {
    const struct {
        int running, paused, timer, led, pauseDimmed, pauseColour, startDimmed;
    } looks[] = {{0, 0, 0, 0, 1, buttonColour, 0},
                 {1, 0, 1, 1, 0, buttonColour, 0},
                 {1, 1, 0, 0, 0, VAL_GREEN, 1}};
    const auto &look = looks[state];
    SCOPED_TRACE(what + ", expected " + stateNames[state]);
    EXPECT_EQ(gameRunning, look.running);
    EXPECT_EQ(gamePaused, look.paused);
    EXPECT_EQ(pauseActive, look.paused);
    EXPECT_EQ(fake::attribute(PANEL_TIMER, ATTR_ENABLED), look.timer);
    EXPECT_EQ(fake::ui.values[PANEL_LED], look.led);
    EXPECT_EQ(fake::attribute(PANEL_PAUSE, ATTR_DIMMED), look.pauseDimmed);
    EXPECT_EQ(fake::attribute(PANEL_PAUSE, ATTR_CMD_BUTTON_COLOR), look.pauseColour);
    EXPECT_EQ(fake::attribute(PANEL_START, ATTR_DIMMED), look.startDimmed);
}

class CommandsTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        // The idle panel as start-up leaves it.
        panelHandle = 1;
        ASSERT_EQ(checkFileIntegrity(), 1);
        defaultButtonColour = buttonColour;
        fake::ui.attributes[{PANEL_PAUSE, ATTR_CMD_BUTTON_COLOR}] = buttonColour;
        fake::ui.attributes[{PANEL_PAUSE, ATTR_DIMMED}] = 1;
        fake::ui.attributes[{PANEL_TIMER, ATTR_ENABLED}] = 0;
        fake::ui.values[PANEL_LED] = 0;
        fake::ui.log.clear();
    }

    static void enter(GameState state) {
        if (state != idle) {
            startAnswered(1);
        }
        if (state == held) {
            commit(pauseGame);
        }
        expectState(state, "entering");
        fake::ui.log.clear();
    }
};

struct Transition {
    const char *name;
    GameState from;
    void (*action)();
    GameState to;
};

void pausePressed() {
    commit(pauseGame);
}
void helpPressed() {
    commit(Help);
}
void soundPressedTwice() {
    commit(noSound);
    commit(noSound);
}

class StateTransitionTest : public CommandsTest,
                            public ::testing::WithParamInterface<Transition> {};

TEST_P(StateTransitionTest, LeadsToItsState) {
    const Transition &transition = GetParam();
    enter(transition.from);
    transition.action();
    expectState(transition.to, transition.name);
}

const Transition transitions[] = {
    {"IdleStartDeclined", idle, [] { startAnswered(2); }, idle},
    {"IdleQuitDeclined", idle, [] { quitAnswered(2); }, idle},
    {"IdleHelp", idle, helpPressed, idle},
    {"IdleSound", idle, soundPressedTwice, idle},
    {"RunningStartConfirmed", running, [] { startAnswered(1); }, running},
    {"RunningStartDeclined", running, [] { startAnswered(2); }, running},
    {"RunningQuitDeclined", running, [] { quitAnswered(2); }, running},
    {"RunningPause", running, pausePressed, held},
    {"RunningHelp", running, helpPressed, running},
    {"RunningSound", running, soundPressedTwice, running},
    {"HeldPause", held, pausePressed, running},
    {"HeldHelp", held, helpPressed, held},
    {"HeldQuitDeclined", held, [] { quitAnswered(2); }, held},
    {"HeldSound", held, soundPressedTwice, held},
};

INSTANTIATE_TEST_SUITE_P(States, StateTransitionTest, ::testing::ValuesIn(transitions),
                         [](const auto &test) { return std::string(test.param.name); });

TEST_F(CommandsTest, HelpOverARunningGameHoldsItOnlyWhileItShows) {
    enter(running);
    int helpShown = 0;
    fake::ui.onPopup = [&helpShown](const std::string &title, const std::string &) {
        helpShown += title == "Help";
        EXPECT_EQ(fake::attribute(PANEL_TIMER, ATTR_ENABLED), 0);
        EXPECT_EQ(fake::ui.values[PANEL_LED], 0);
        EXPECT_EQ(fake::attribute(PANEL_START, ATTR_DIMMED), 1);
        EXPECT_EQ(fake::attribute(PANEL_PAUSE, ATTR_CMD_BUTTON_COLOR), VAL_GREEN);
        EXPECT_EQ(gamePaused, 0);
        EXPECT_EQ(pauseActive, 0);
    };
    commit(Help);
    EXPECT_EQ(helpShown, 1);
    fake::ui.onPopup = nullptr;
    expectState(running, "after the help");
    commit(pauseGame);
    expectState(held, "Pause after the help");
}

TEST_F(CommandsTest, TheQuitQuestionStopsTheFallWhileItShows) {
    enter(running);
    fake::ui.onPopup = [](const std::string &, const std::string &) {
        EXPECT_EQ(fake::attribute(PANEL_TIMER, ATTR_ENABLED), 0);
        EXPECT_EQ(fake::ui.values[PANEL_LED], 1);
    };
    quitAnswered(2);
    EXPECT_EQ(fake::ui.log,
              (std::vector<std::string>{"SetCtrlAttribute(1, 15, 1271, 0)", quitQuestion,
                                        "SetCtrlAttribute(1, 15, 1271, 1)"}));
    EXPECT_EQ(fake::ui.quitCalls, 0);
}

TEST_F(CommandsTest, AcceptingQuitEndsTheEventLoop) {
    for (GameState state : {idle, running, held}) {
        enter(state);
        quitAnswered(1);
        EXPECT_EQ(fake::ui.log, (std::vector<std::string>{"SetCtrlAttribute(1, 15, 1271, 0)",
                                                          quitQuestion, "QuitUserInterface(0)"}))
            << stateNames[state];
        EXPECT_EQ(gameRunning, 0);
        gameRunning = gamePaused = pauseActive = 0;
    }
}

TEST_F(CommandsTest, TheSoundButtonTurnsRedWhileSoundIsOff) {
    commit(noSound);
    EXPECT_EQ(soundOn, 0);
    commit(noSound);
    EXPECT_EQ(soundOn, 1);
    EXPECT_EQ(fake::ui.log, (std::vector<std::string>{"SetCtrlAttribute(1, 6, 880, 16711680)",
                                                      "SetCtrlAttribute(1, 6, 880, " +
                                                          std::to_string(buttonColour) + ")"}));
}

TEST_F(CommandsTest, TheWebIconOpensThePageOnALeftClickOnly) {
    enter(running);
    for (int event = 0; event <= 20; event++) {
        if (event != EVENT_LEFT_CLICK) {
            EXPECT_EQ(goOnline(1, 0, event, nullptr, 0, 0), 0);
        }
    }
    EXPECT_TRUE(fake::ui.log.empty());
    EXPECT_EQ(goOnline(1, 0, EVENT_LEFT_CLICK, nullptr, 0, 0), 0);
    EXPECT_EQ(fake::ui.log, std::vector<std::string>{
                                std::string("LaunchExecutable(xdg-open https://") + webPage + ")"});
    std::string page = webPage;
    EXPECT_EQ(page.find("://"), std::string::npos);
    EXPECT_EQ(page.substr(page.find('/')), "/kivogame.html");
    expectState(running, "the game goes on");
}

TEST_F(CommandsTest, TheHelpTextHasNineQuotedLinesAndANotice) {
    const std::string quoted =
        "Goal: make a full row to score\n\nLeft arrow key: move left\nRight key: move right\n"
        "Up key: rotate\nDown key (hold): accelerated down\nCtrl + Down key: immediate down\n\n"
        "Click the foot icon \tto visit website\n";
    const std::string text = helpText;
    ASSERT_EQ(text.compare(0, quoted.size(), quoted), 0);
    std::string notice = text.substr(quoted.size());
    EXPECT_FALSE(notice.empty());
    EXPECT_EQ(notice.find('\n'), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 9);
    commit(Help);
    EXPECT_EQ(fake::ui.log, std::vector<std::string>{"MessagePopup(Help, " + text + ")"});
}

TEST_F(CommandsTest, ResizingThePanelWritesItsNewSize) {
    highScore = 120;
    highSpeed = 4.5f;
    for (auto [height, width] : {std::pair{610, 380}, std::pair{900, 500}}) {
        fake::ui.log.clear();
        fake::ui.panelHeight = height;
        fake::ui.panelWidth = width;
        EXPECT_EQ(MainCallBk(1, EVENT_PANEL_SIZE, nullptr, 0, 0), 0);
        EXPECT_EQ(fake::ui.log, (std::vector<std::string>{"GetPanelAttribute(1, 540)",
                                                          "GetPanelAttribute(1, 533)"}));
        EXPECT_EQ(readRecordsFile(),
                  std::to_string(height) + "\n" + std::to_string(width) + "\n120\n4.500000\n");
    }
    fake::ui.log.clear();
    EXPECT_EQ(MainCallBk(1, EVENT_PANEL_MOVE, nullptr, 0, 0), 0);
    EXPECT_TRUE(fake::ui.log.empty());
    EXPECT_EQ(readRecordsFile(), "900\n500\n120\n4.500000\n");
}

TEST_F(CommandsTest, CommandsIgnoreEveryOtherEvent) {
    enter(running);
    for (CtrlCallbackPtr callback : {Start, pauseGame, noSound, Help, QuitCallback}) {
        for (int event = 0; event <= 20; event++) {
            if (event != EVENT_COMMIT) {
                EXPECT_EQ(callback(1, 0, event, nullptr, 0, 0), 0) << event;
            }
        }
    }
    EXPECT_TRUE(fake::ui.log.empty());
    EXPECT_EQ(soundOn, 1);
    expectState(running, "after other events");
}

} // namespace
