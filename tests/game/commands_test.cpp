// The command buttons and the game's states: Start, Pause, Sound, Help, Quit, the web icon and
// the panel's own events.
#include "game_fixture.h"

static const int buttonColour = 0xD4D0C8;
static const std::string quitQuestion = "GenericMessagePopup(Message, Do you quit the game now?, "
                                        "__Yes, __No, null, null, 0, 0, 2, 2, 0)";

static void commit(CtrlCallbackPtr callback) {
    EXPECT_EQ(callback(1, 0, EVENT_COMMIT, nullptr, 0, 0), 0);
}
static void quitAnswered(int answer) {
    fake::ui.answers.push_back(answer);
    commit(QuitCallback);
}

// The game's flags and controls: running, paused, held, timer, lamp, Pause dimmed, Pause's
// colour, Start dimmed.
using Look = std::vector<double>;
static Look look() {
    return {double(gameRunning),
            double(gamePaused),
            double(pauseActive),
            fake::attribute(PANEL_TIMER, ATTR_ENABLED),
            fake::ui.values[PANEL_LED],
            fake::attribute(PANEL_PAUSE, ATTR_DIMMED),
            fake::attribute(PANEL_PAUSE, ATTR_CMD_BUTTON_COLOR),
            fake::attribute(PANEL_START, ATTR_DIMMED)};
}
// The three states as the states table gives them, and the look that accepting Quit leaves.
static const Look idle = {0, 0, 0, 0, 0, 1, buttonColour, 0},
                  running = {1, 0, 0, 1, 1, 0, buttonColour, 0},
                  held = {1, 1, 1, 0, 0, 0, VAL_GREEN, 1},
                  quitting = {0, 0, 0, 0, 1, 0, buttonColour, 0};

class CommandsTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        // The idle panel as start-up leaves it.
        startRunningGame();
        gameRunning = 0;
        defaultButtonColour = buttonColour;
        fake::ui.attributes[{PANEL_PAUSE, ATTR_CMD_BUTTON_COLOR}] = buttonColour;
        fake::ui.attributes[{PANEL_PAUSE, ATTR_DIMMED}] = 1;
    }
};

TEST_F(CommandsTest, EachCommandLeadsToItsState) {
    std::vector<Look> whileHelpShows;
    fake::ui.onPopup = [&whileHelpShows](const std::string &title, const std::string &) {
        if (title == "Help") {
            whileHelpShows.push_back(look());
        } else { // a question stops the fall while it shows
            EXPECT_EQ(fake::attribute(PANEL_TIMER, ATTR_ENABLED), 0);
        }
    };
    const std::tuple<const char *, void (*)(), const Look &> walk[] = {
        {"idle, Start declined", [] { pressStart(0); }, idle}, // only the first button is yes
        {"idle, Quit declined", [] { quitAnswered(2); }, idle},
        {"idle, Help", [] { commit(Help); }, idle},
        {"idle, Sound twice", [] { commit(noSound), commit(noSound); }, idle},
        {"idle, Start confirmed", [] { pressStart(1); }, running},
        {"running, Start declined", [] { pressStart(-1); }, running},
        {"running, Quit declined", [] { quitAnswered(2); }, running},
        {"running, Help", [] { commit(Help); }, running},
        {"running, Sound twice", [] { commit(noSound), commit(noSound); }, running},
        {"running, Start confirmed", [] { pressStart(1); }, running},
        {"running, Pause", [] { commit(pauseGame); }, held},
        {"held, Help", [] { commit(Help); }, held},
        {"held, Quit declined", [] { quitAnswered(2); }, held},
        {"held, Sound twice", [] { commit(noSound), commit(noSound); }, held},
        {"held, Pause", [] { commit(pauseGame); }, running},
        {"running, Quit accepted", [] { quitAnswered(1); }, quitting},
    };
    for (const auto &[what, action, to] : walk) {
        action();
        EXPECT_EQ(look(), to) << what;
    }
    // Help over a running game holds it only while the help shows.
    EXPECT_EQ(whileHelpShows, (std::vector<Look>{idle, {1, 0, 0, 0, 0, 0, VAL_GREEN, 1}, held}));
    // The Sound button is red while sound is off.
    const std::string red = "SetCtrlAttribute(1, 6, 880, 16711680)",
                      normal = "SetCtrlAttribute(1, 6, 880, " + std::to_string(buttonColour) + ")";
    EXPECT_EQ(calls("SetCtrlAttribute(1, 6,"), (Log{red, normal, red, normal, red, normal}));
    EXPECT_EQ(soundOn, 1);
    EXPECT_EQ(calls("GenericMessagePopup(Message, Do you quit"), Log(4, quitQuestion));
    EXPECT_EQ(calls("QuitUserInterface"), Log{"QuitUserInterface(0)"});
    // A restart is no lost game.
    EXPECT_TRUE(calls("MessagePopup(Game Over").empty());
    EXPECT_TRUE(sounds().empty());
}

TEST_F(CommandsTest, TheHelpTextHasNineQuotedLinesAndANotice) {
    const std::string quoted =
        "Goal: make a full row to score\n\nLeft arrow key: move left\nRight key: move right\n"
        "Up key: rotate\nDown key (hold): accelerated down\nCtrl + Down key: immediate down\n\n"
        "Click the foot icon \tto visit website\n";
    const std::string text = helpText;
    ASSERT_EQ(text.compare(0, quoted.size(), quoted), 0);
    EXPECT_GT(text.size(), quoted.size());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 9);
    commit(Help);
    EXPECT_EQ(fake::ui.log, Log{"MessagePopup(Help, " + text + ")"});
}

TEST_F(CommandsTest, ResizingThePanelWritesItsNewSize) {
    highScore = 120;
    highSpeed = 4.5f;
    fake::ui.panelHeight = 610;
    fake::ui.panelWidth = 380;
    EXPECT_EQ(MainCallBk(1, EVENT_PANEL_SIZE, nullptr, 0, 0), 0);
    EXPECT_EQ(fake::ui.log, (Log{"GetPanelAttribute(1, 540)", "GetPanelAttribute(1, 533)"}));
    EXPECT_EQ(readRecordsFile(), "610\n380\n120\n4.500000\n");
}

TEST_F(CommandsTest, CallbacksIgnoreEveryOtherEventAndTheWebIconOpensThePage) {
    pressStart(1);
    fake::ui.log.clear();
    const Piece piece = currentPiece;
    const std::pair<CtrlCallbackPtr, int> callbacks[] = {{Start, EVENT_COMMIT},
                                                         {pauseGame, EVENT_COMMIT},
                                                         {noSound, EVENT_COMMIT},
                                                         {Help, EVENT_COMMIT},
                                                         {QuitCallback, EVENT_COMMIT},
                                                         {goOnline, EVENT_LEFT_CLICK},
                                                         {TimerCallback, EVENT_TIMER_TICK}};
    for (int event = 0; event <= 20; event++) {
        for (const auto &[callback, itsEvent] : callbacks) {
            if (event != itsEvent) {
                callback(1, 0, event, nullptr, 0, 0);
            }
        }
    }
    // Clicks on the panel and its focus reach no move.
    MainCallBk(1, EVENT_LEFT_CLICK, nullptr, VAL_DOWN_ARROW_VKEY, 0);
    MainCallBk(1, EVENT_GOT_FOCUS, nullptr, VAL_DOWN_ARROW_VKEY, 0);
    EXPECT_TRUE(fake::ui.log.empty());
    EXPECT_EQ(currentPiece, piece);
    EXPECT_EQ(look(), running);
    goOnline(1, 0, EVENT_LEFT_CLICK, nullptr, 0, 0);
    EXPECT_EQ(fake::ui.log, Log{"LaunchExecutable(xdg-open https://www.stakko.org/kivogame.html)"});
}
