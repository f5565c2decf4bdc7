// The game and its sound module against a recording fake run-time and sound call: the calls they
// make, in order with their arguments, and the files the game writes.
#include "fall.h"
#include "painting.h"
#include "pieces.h"
#include "playsnd.h"
#include "preview.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sys/wait.h>
#define main stakkoMain
#include "main.cpp"

struct FakeRunTime {
    std::vector<std::string> log;                     // in call order
    std::map<std::pair<int, int>, double> attributes; // control 0: panel; attribute 0: value
    std::map<int, int> lastPlot;                      // graph -> last plot handle given
    std::map<std::string, int> missing;               // path -> code of its size query
    int answer = 2, nextBitmap = 100, breakOnErrors = 1, initResult = 1, loadResult = 1;
    double &at(int control, int attribute) { return attributes[{control, attribute}]; }
    static const char *arg(const char *text) { return text ? text : "null"; }
    static double arg(double number) { return number; }
    // Gives an output parameter its value; the call succeeds.
    template <typename T, typename V> static int put(T *out, V v) { return *out = T(v), 0; }
} ui;

// Logs "Name(arg, arg)", numbers with ten digits.
template <typename... Args> static void record(const char *name, Args... args) {
    std::ostringstream call;
    [[maybe_unused]] const char *separator = ""; // no arguments: no separator
    call << std::setprecision(10) << name << "(";
    ((call << separator << FakeRunTime::arg(args), separator = ", "), ...);
    ui.log.push_back(call.str() + ")");
}

// A faked operation: logs its name (or a shorter one) and arguments, then gives its result.
#define FAKE_AS(name, params, result, ...)                                                         \
    int name params {                                                                              \
        return record(__VA_ARGS__), result;                                                        \
    }
#define FAKE(name, params, result, ...) FAKE_AS(name, params, result, #name, __VA_ARGS__)
// clang-format off
FAKE(QuitUserInterface, (int c), 0, c)
FAKE(DisplayPanel, (int p), 0, p)
FAKE(DiscardPanel, (int p), 0, p)
FAKE(SetPanelSize, (int p, int h, int w), 0, p, h, w)
FAKE(SetActiveCtrl, (int p, int c), 0, p, c)
FAKE(LaunchExecutable, (const char *c), 0, c)
FAKE(ResetTextBox, (int p, int c, const char *t), 0, p, c, t)
FAKE(SetCtrlBitmap, (int p, int g, int n, int id), 0, p, g, n, id)
FAKE(DeleteGraphPlot, (int p, int g, int n, int r), 0, p, g, n, r)
FAKE(MessagePopup, (const char *title, const char *m), 0, title, m)
FAKE_AS(InitCVIRTEEx, (void *, char *[], void *), ui.initResult, "InitCVIRTEEx")
FAKE_AS(RunUserInterface, (void), 0, "RunUserInterface")
FAKE_AS(ProcessDrawEvents, (void), 0, "ProcessDrawEvents")
FAKE(LoadPanel, (int p, const char *f, int n), ui.loadResult, p, f, n)
FAKE(GetPanelAttribute, (int p, int a, int *v), ui.put(v, ui.at(0, a)), p, a)
FAKE(SetCtrlAttribute, (int p, int c, int a, double v), ui.put(&ui.at(c, a), v), p, c, a, v)
int SetCtrlAttribute(int p, int c, int a, int v) { return SetCtrlAttribute(p, c, a, 1.0 * v); }
FAKE(GetCtrlAttribute, (int p, int c, int a, int *v), ui.put(v, ui.at(c, a)), p, c, a)
FAKE(SetCtrlVal, (int p, int c, double v), ui.put(&ui.at(c, 0), v), p, c, v)
int SetCtrlVal(int p, int c, int v) { return SetCtrlVal(p, c, 1.0 * v); }
FAKE(GetCtrlVal, (int p, int c, int *v), ui.put(v, ui.at(c, 0)), p, c)
FAKE(GetBitmapFromFile, (const char *f, int *id),
     ui.missing.count(f) ? -1 : ui.put(id, ui.nextBitmap++), f)
FAKE(PlotBitmap, (int p, int g, double x, double y, double w, double h, const char *f),
     ++ui.lastPlot[g], p, g, x, y, w, h, f)
FAKE(GenericMessagePopup, (const char *t, const char *m, const char *b1, const char *b2,
     const char *b3, char *r, int n, int al, int on, int en, int es),
     ui.answer, t, m, b1, b2, b3, r, n, al, on, en, es)
FAKE(CVI_GetFileSize, (const char *f, long *size),
     ui.missing.count(f) ? ui.missing[f] : ui.put(size, 1), f)
int GetBreakOnLibraryErrors(void) { return ui.breakOnErrors; }
FAKE_AS(EnableBreakOnLibraryErrors, (void), ui.breakOnErrors = 1, "EnableBreak")
FAKE_AS(DisableBreakOnLibraryErrors, (void), ui.breakOnErrors = 0, "DisableBreak")
FAKE(sndPlaySoundA, (const char *f, unsigned int s), 7, f, int(s))
// clang-format on

using Log = std::vector<std::string>;
static Log operator+(Log a, const Log &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
static bool operator==(const Piece &a, const Piece &b) {
    return !memcmp(&a, &b, sizeof a);
}
// With keep false, the calls that do not match.
static Log matching(const std::string &pattern, bool keep = true) {
    Log found;
    for (auto &call : ui.log)
        if (std::regex_search(call, std::regex(pattern)) == keep)
            found.push_back(call);
    return found;
}
static void clearBoard() {
    memset(board, 0, sizeof board);
    memset(cellPlots, 0, sizeof cellPlots);
    ui.log.clear();
}
// A call of exit in the middle of a test fails it: gtest would count the test passed.
static bool testRunning;
static const int exitGuard = std::atexit([] {
    if (testRunning)
        _exit(1);
});

// Each test starts as the process does: all files installed, cell images loaded (ids 100 to 106,
// blank to magenta), panel 1.
struct Game : testing::Test {
    std::filesystem::path home = std::filesystem::current_path(), dir;
    void SetUp() override {
        char pattern[] = "/tmp/stakko-game-XXXXXX";
        std::filesystem::current_path(dir = mkdtemp(pattern));
        ui = FakeRunTime();
        testRunning = true;
        gameRunning = gamePaused = pauseActive = rowsCompleted = scoreRecordAtStart = 0;
        highScore = panelHeight = panelWidth = gameStartTime = 0;
        currentSpeed = highSpeed = 9999.0f;
        soundOn = panelHandle = 1;
        defaultButtonColour = 0x123456;
        checkFileIntegrity();
        clearBoard();
    }
    static std::string readFile() {
        std::ifstream in("_KIVOSTAKKOGAME.CFG");
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void writeFile(const std::string &text) { std::ofstream("_KIVOSTAKKOGAME.CFG") << text; }
    static int panelEvent(int, int, int event, void *, int key, int) {
        return MainCallBk(1, event, nullptr, key, 0);
    }
    void TearDown() override {
        testRunning = false;
        std::filesystem::current_path(home);
        std::filesystem::remove_all(dir);
    }
};

// The cells of each shape in rotations 0 to 3 with its pivot at column 5, row 5, as column-row.
// clang-format off
static const char *const shapeCells[7][4] = {
    {"54 55 56 57", "45 55 65 75", "54 55 56 57", "45 55 65 75"},
    {"54 55 56 66", "45 46 55 65", "44 54 55 56", "45 55 64 65"},
    {"46 55 56 65", "44 45 55 56", "46 55 56 65", "44 45 55 56"},
    {"55 56 65 66", "55 56 65 66", "55 56 65 66", "55 56 65 66"},
    {"45 55 56 66", "55 56 64 65", "45 55 56 66", "55 56 64 65"},
    {"45 54 55 65", "54 55 56 65", "45 55 56 65", "45 54 55 56"},
    {"46 54 55 56", "44 45 55 65", "54 55 56 64", "45 55 65 66"}};
// clang-format on

TEST_F(Game, EachShapeInEachRotationCoversItsOwnCells) {
    for (int i = 0; i < 28; i++) { // shape i / 4 in rotation i % 4
        AddArray(Piece{i / 4, 5, 5, i % 4, 4});
        std::string covered;
        for (int c = 0; c < 242; c++) // board[column][row], 11 by 22
            if (std::exchange(board[c / 22][c % 22], 0) == 4)
                covered += (covered.empty() ? "" : " ") + std::to_string(c / 22 * 10 + c % 22);
        EXPECT_EQ(covered, shapeCells[i / 4][i % 4]) << i;
    }
}

// Fifteen pieces as shape and colour, after a reversed and an empty range's draw; 16383 << 14
// has no low bits, so it starts where 16385 would.
TEST_F(Game, PiecesComeShapeFirstFromTheWichmannHillGenerator) {
    for (auto [seed, pieces] : {std::pair{268419072, "352414554336611356213355264502"},
                                {-1, "265315054314024605645225236321"}}) {
        SetRandomSeed(seed);
        std::string drawn = std::to_string(Random(5.0, 2.0) + Random(2.0, 2.0));
        for (int i = 0; i < 15; i++) {
            setNextPiece();
            drawn += std::to_string(nextPiece.shape * 10 + nextPiece.colour + 100).substr(1);
        }
        EXPECT_EQ(drawn, "7.000000" + std::string(pieces));
        EXPECT_EQ(nextPiece.column * 100 + nextPiece.row * 10 + nextPiece.rotation, 510);
    }
}

TEST_F(Game, AKeyMovesThePieceOnlyWhereItFitsAndATickLandsItOnlyOnceItCameToRest) {
    // Key, piece before (else shape 1 upright at column 5, row 10) and after, steps drawn, row
    // after the next tick (0: landed).
    // clang-format off
    const struct { int key; Piece from = {}, to = {}; int steps = 0, afterTick = 0; } moves[] = {
        {0x0600, {}, {1, 5, 10, 1, 3}, 1, 11}, {0x0600, {1, 5, 10, 3, 3}, {1, 5, 10, 0, 3}, 1, 11},
        {0x0700, {}, {1, 5, 11, 0, 3}, 1, 12}, {0x0900, {}, {1, 4, 10, 0, 3}, 1, 11},
        {0x40700, {0, 5, 1, 0, 3}, {0, 5, 18, 0, 3}, 17}, {0x0800, {3, 9, 5, 0, 3}, {}, 0, 6},
        {0x0800, {3, 1, 18, 0, 3}, {3, 2, 18, 0, 3}, 1, 19}, {0x40600, {}, {}, 0, 11},
        {0x0900, {0, 2, 5, 1, 3}, {}, 0, 6}, {0x0600, {1, 1, 10, 0, 3}, {}, 0, 11},
        {0x0700, {1, 5, 5, 0, 3}}, {0, {3, 1, 18, 0, 3}}};
    // clang-format on
    for (auto m : moves) {
        clearBoard();
        board[6][7] = board[1][20] = 1; // column 10 is left
        nextPiece = Piece{3, 5, 1, 0, 6}, gameRunning = 1;
        currentPiece = m.from.colour ? m.from : Piece{1, 5, 10, 0, 3};
        m.to = m.steps ? m.to : currentPiece;
        PaintPiece(currentPiece, 1);
        ui.log.clear();
        EXPECT_EQ(MainCallBk(1, 7, nullptr, m.key, 0), 0);
        EXPECT_EQ(currentPiece, m.to) << m.key;
        EXPECT_EQ(matching("Delete|Bitmap|530, 1\\)").size(), 20u * m.steps) << m.key;
        ui.log.clear();
        EXPECT_EQ(TimerCallback(1, 15, 15, nullptr, 0, 0), 0);
        EXPECT_EQ(currentPiece.row, m.afterTick ? m.afterTick : 1) << m.key;
        EXPECT_EQ(std::count(&board[0][0], &board[0][0] + 242, 3), m.afterTick ? 0 : 4) << m.key;
        // Moved; or rows checked, next piece.
        EXPECT_EQ(matching("Plot.*1, 10,|, 1270, ").size(), m.afterTick ? 8u : 5u) << m.key;
    }
}

TEST_F(Game, FullRowsGoAndScoreTenTimesTheirNumberSquared) {
    const std::string sound = "sndPlaySoundA(WAVs/KIVO_Stakko_Game_Full_Row.wav, 2)";
    const std::string score = "GetCtrlVal(1, 4)", shown = "ProcessDrawEvents()";
    // Full rows (16 lacks column 1, 19 column 10, 1 has 5), cells repainted (a row's removal
    // moves those above it), record, rows done, seconds gone; calls, file. The score was 30.
    // clang-format off
    const struct { std::set<int> full; size_t cells; int record, rows, seconds; Log log;
                   const char *file; } cases[] = {
        {{}, 0, 50, 20, 9, {"SetCtrlAttribute(1, 15, 1270, 0.38)"}, ""},
        {{20}, 200, 40, 9, 45, {score, "SetCtrlVal(1, 4, 40)", shown, sound,
         "SetCtrlVal(1, 3, 4.5)", "SetCtrlAttribute(1, 15, 1270, 0.39)"}, ""},
        {{17, 18, 19, 20}, 740, 50, 0, 9, {score, "SetCtrlVal(1, 4, 190)",
         "ResetTextBox(1, 13, 190)", shown, sound, "SetCtrlAttribute(1, 15, 1270, 0.396)"},
         "0\n0\n190\n9999.000000\n"}};
    // clang-format on
    for (const auto &c : cases) {
        std::filesystem::remove("_KIVOSTAKKOGAME.CFG");
        clearBoard();
        for (int y = 1; y <= 20; y++) // row y, column x
            for (int x = 1; x <= 10; x++)
                board[x][y] = c.full.count(y) || (y == 16 && x > 1) || (y == 19 && x < 10);
        board[5][1] = 1;
        cellPlots[5][19] = 77; // its plot
        ui.at(4, 0) = 30;
        highScore = c.record, rowsCompleted = c.rows;
        gameStartTime = time(NULL) - c.seconds;
        CheckRows();
        EXPECT_EQ(matching("\\(1, 10, ", false), c.log);
        EXPECT_EQ(readFile(), c.file);
        // The lone cell of row 1 moved down by the removed rows, row 1 left empty.
        EXPECT_EQ(board[5][1] * 10 + board[5][1 + c.full.size()], c.full.empty() ? 11 : 1);
        EXPECT_EQ(matching("DeleteGraphPlot\\(1, 10, 77, 1\\)").size(), c.full.empty() ? 0u : 1u);
        EXPECT_EQ(matching("1, 10, 530, 0").size(), c.cells);
    }
}

TEST_F(Game, AtGameOverThePreviewIsDrawnTheGameStopsThenEachRecordIsJudgedAgainstTheFile) {
    const std::string lost = "MessagePopup(Game Over, Sorry, you have lost the game.\n";
    const std::string again = "Click Start to start over.)", shown = "ProcessDrawEvents()";
    const std::string sound = "sndPlaySoundA(WAVs/KIVO_Stakko_Game_";
    const std::string score =
        lost + "But you have created a new Score record.\nCongratulations!\n" + again;
    const std::string speed =
        "MessagePopup(Game Over, You have created a new Speed record.\nSpeed is defined by how "
        "many seconds you complete a row.\nSpeed needs at least 10 rows to make the everage.)";
    Log stop = {"DeleteGraphPlot(1, 2, -1, 1)"}; // the next piece of seed 1: shape 3 in cyan
    for (const char *place : {"20, 20, 1", "20, 10, 2", "10, 20, 3", "10, 10, 4"})
        stop = stop + Log{"SetCtrlAttribute(1, 2, 530, 0)",
                          "PlotBitmap(1, 2, " + std::string(place, 6) + ", 10, 10, null)",
                          "SetCtrlBitmap(1, 2, " + std::string(place + 8) + ", 104)",
                          "SetCtrlAttribute(1, 2, 530, 1)"};
    stop = stop + Log{"SetCtrlAttribute(1, 15, 1271, 0)", "SetCtrlVal(1, 11, 0)",
                      "SetCtrlAttribute(1, 8, 500, 0)", "SetCtrlAttribute(1, 5, 500, 1)"};
    // The records file (none: ""), the score record at the start, rows done in 45 s, sound; the
    // calls and the file after.
    // clang-format off
    const struct { std::string file; int atStart, rows, sound; Log log; std::string after; }
        cases[] = {
        {"792\n461\n50\n4.600000\n", 20, 10, 1, stop + Log{shown, sound + "Over.wav, 2)", score,
         shown, sound + "Salute.wav, 2)", "ResetTextBox(1, 12, 4.50)", speed, shown,
         sound + "Salute_2.wav, 2)"}, "792\n461\n50\n4.500000\n"},
        {"792\n461\n50\n9.000000\n", 50, 9, 1, stop + Log{shown, sound + "Over.wav, 2)",
         lost + again}, "792\n461\n50\n9.000000\n"},
        {"", 0, 10, 0, stop + Log{lost + again, "ResetTextBox(1, 12, 4.50)", speed},
         "792\n461\n0\n4.500000\n"}};
    // clang-format on
    for (const auto &c : cases) {
        std::filesystem::remove("_KIVOSTAKKOGAME.CFG");
        if (!c.file.empty())
            writeFile(c.file);
        highScore = 99, highSpeed = 1, scoreRecordAtStart = c.atStart, rowsCompleted = c.rows;
        soundOn = c.sound, gameRunning = pauseActive = 1;
        gameStartTime = time(NULL) - 45;
        board[5][1] = 2;                  // every shape covers its pivot, the entry cell
        nextPiece = Piece{0, 5, 1, 0, 2}; // enters; the preview shows the one drawn after it
        ui.lastPlot.clear();
        SetRandomSeed(1);
        ui.log.clear();
        NewPiece();
        EXPECT_EQ(ui.log, c.log);
        EXPECT_EQ(readFile(), c.after);
        EXPECT_EQ(gameRunning + pauseActive, 0);
    }
}

TEST_F(Game, CommandsActOnTheirOwnEventOnlyAndGiveEachStateItsLook) {
    const std::string off = "SetCtrlAttribute(1, 15, 1271, 0)", bye = "QuitUserInterface(0)";
    const std::string on = "SetCtrlAttribute(1, 15, 1271, 1)", lit = "SetCtrlVal(1, 11, 1)";
    const std::string ask = "GenericMessagePopup(Message, Do you ",
                      yesNo = "?, __Yes, __No, null, null, ";
    const std::string quit = ask + "quit the game now" + yesNo + "0, 0, 2, 2, 0)";
    const std::string start = ask + "want to start a new game now" + yesNo + "0, 0, 2, 2, 0)";
    const std::string help =
        "MessagePopup(Help, Goal: make a full row to score\n\nLeft arrow key: move left\nRight "
        "key: move right\nUp key: rotate\nDown key (hold): accelerated down\nCtrl + Down key: "
        "immediate down\n\nClick the foot icon \tto visit website\nStakko \xC2\xA9 2026 the "
        "Stakko developers. Free to play and to share.)";
    const Log held = {off, "SetCtrlVal(1, 11, 0)", "SetCtrlAttribute(1, 8, 500, 1)",
                      "SetCtrlAttribute(1, 5, 880, 65280)"};
    const Log going = {on, lit, "SetCtrlAttribute(1, 8, 500, 0)",
                       "SetCtrlAttribute(1, 5, 880, 1193046)"};
    // In turn from the idle panel: callback, event (key Left), answer to a question, result,
    // calls but file checks and cells.
    // clang-format off
    const struct { CtrlCallbackPtr callback; int event, answer, result; Log log; } steps[] = {
        {Start, 1, 1, 0, {off, start, "SetCtrlAttribute(1, 15, 1270, 0.4)", "SetCtrlVal(1, 4, 0)",
         "SetCtrlVal(1, 3, 9999)", "DeleteGraphPlot(1, 10, -1, 1)", "DeleteGraphPlot(1, 2, -1, 1)",
         on, lit, "SetCtrlAttribute(1, 5, 500, 0)", "SetActiveCtrl(1, 5)"}},
        {Start, 2, 1, 0, {}}, {pauseGame, 2, 0, 0, {}}, {noSound, 3, 0, 0, {}}, {Help, 2, 0, 0, {}},
        {QuitCallback, 2, 1, 0, {}}, {goOnline, 1, 0, 0, {}}, {TimerCallback, 1, 0, 0, {}},
        {panelEvent, 8, 0, 0, {}}, {pauseGame, 1, 0, 0, held}, {Help, 1, 0, 0, {help}},
        {pauseGame, 1, 0, 0, going}, {Help, 1, 0, 0, held + Log{help} + going},
        {QuitCallback, 1, 0, 0, {off, quit, on}},
        {Start, 1, 2, 1, {off, start, on, lit, "SetCtrlAttribute(1, 5, 500, 0)"}},
        {noSound, 1, 0, 0, {"SetCtrlAttribute(1, 6, 880, 16711680)"}},
        {goOnline, 3, 0, 0, {"LaunchExecutable(xdg-open https://www.stakko.org/kivogame.html)"}},
        {QuitCallback, 1, 1, 0, {off, quit, bye}}, {panelEvent, 7, 0, 0, {}},
        {Help, 1, 0, 0, {help}}, {QuitCallback, 1, 2, 0, {off, quit}},
        {panelEvent, 12, 0, 0, {"GetPanelAttribute(1, 540)", "GetPanelAttribute(1, 533)"}}};
    // clang-format on
    std::fill(&board[0][0], &board[0][0] + 242, 3);
    std::fill(&cellPlots[0][0], &cellPlots[0][0] + 242, 999);
    writeFile("640\n380\n70\n5.000000\n");
    rowsCompleted = 7;
    ui.at(0, 540) = 600; // the panel's new height and width
    ui.at(0, 533) = 400;
    int seed = int(time(NULL));
    for (const auto &s : steps) {
        ui.log.clear();
        ui.answer = s.answer;
        EXPECT_EQ(s.callback(1, 0, s.event, nullptr, 0x0800, 0), s.result) << &s - steps;
        EXPECT_EQ(matching("Bitmap|Break|FileSize|, 530, ", false), s.log) << &s - steps;
        if (&s != steps)
            continue;
        // The new game: emptied board and cells, re-read records, the piece's pivot drawn.
        EXPECT_EQ(matching("PlotBitmap\\(1, 10, 50, 190, 10, 10, null\\)").size(), 1u);
        EXPECT_EQ(std::count(&board[0][0], &board[0][0] + 242, 0), 210);
        EXPECT_EQ(std::count(&cellPlots[0][0], &cellPlots[0][0] + 242, 999), 11);
        EXPECT_EQ(scoreRecordAtStart * 100 + rowsCompleted, 7000);
        EXPECT_GE(gameStartTime, seed); // the clock starts with the game
    }
    bool seeded = false; // with the time, whose second may have turned during the start
    for (int second : {seed, seed + 1}) {
        SetRandomSeed(second);
        setNextPiece();
        seeded = seeded || currentPiece == nextPiece;
    }
    EXPECT_TRUE(seeded);
    EXPECT_EQ(readFile(), "600\n400\n70\n5.000000\n"); // the size event wrote the new size
}

TEST_F(Game, StartUpChecksTheFilesThenShowsTheIdlePanelAtItsStoredSize) {
    // The file missing, the run-time's and the panel's results; main's result and its calls but
    // the installation check.
    const Log loaded = {"InitCVIRTEEx()", "LoadPanel(0, stakko.uir, 1)"};
    // clang-format off
    const struct { const char *missing; int init, panel, result; Log log; } cases[] = {
        {"stakko.uir", 1, 0, 0, {"MessagePopup(Error, Missing UIR file.)"}},
        {"", 0, 0, -1, {"InitCVIRTEEx()"}}, {"", 1, -2, -1, loaded},
        {"", 1, 0, 0, loaded + Log{"SetCtrlAttribute(0, 15, 1271, 0)",
         "SetCtrlAttribute(0, 11, 920, 65280)", "SetCtrlAttribute(0, 11, 921, 16711680)",
         "SetCtrlVal(0, 11, 0)", "SetCtrlAttribute(0, 5, 500, 1)", "GetCtrlAttribute(0, 5, 880)",
         "ResetTextBox(0, 13, 1250)", "ResetTextBox(0, 12, 3.42)", "SetPanelSize(0, 640, 380)",
         "DisplayPanel(0)", "RunUserInterface()", "DiscardPanel(0)"}}};
    // clang-format on
    for (const auto &c : cases) {
        writeFile("640\n380\n1250\n3.418750\n");
        ui = FakeRunTime();
        ui.initResult = c.init, ui.loadResult = c.panel;
        ui.missing[c.missing] = -1;
        ui.at(5, 880) = 0x3A4B5C;
        soundOn = 0, pauseActive = 1;
        EXPECT_EQ(stakkoMain(1, nullptr), c.result);
        EXPECT_EQ(matching("Bitmap|Break|FileSize", false), c.log);
    }
    // The last one ran the panel: sound on, not paused, the button's own colour kept.
    EXPECT_EQ(soundOn * 10 + pauseActive + defaultButtonColour, 10 + 0x3A4B5C);
}

TEST_F(Game, TheRecordsFileIsReadIntoItsRangesOrGivesTheDefaultsAndAFullDiskLosesNothing) {
    // The file ("/": a folder); height, width, score and speed records after the read, from 50,
    // 4000, 12000 and 3.5 before it.
    // clang-format off
    const struct { const char *file; std::vector<float> after; } cases[] = {
        {"/", {792, 461, 0, 9999}}, {"", {100, 3000, 9999, 3.5}},
        {"100\r\n3000\r\n9999\r\n0.000000\r\n", {100, 3000, 9999, 0}},
        {"3001\n99\n-1\n3.41875\n", {3000, 100, 0, 3.41875f}}};
    // clang-format on
    const auto open = std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
    for (const auto &c : cases) {
        std::filesystem::remove("_KIVOSTAKKOGAME.CFG");
        if (*c.file == '/')
            std::filesystem::create_directory("_KIVOSTAKKOGAME.CFG");
        else
            writeFile(c.file);
        panelHeight = 50, panelWidth = 4000, highScore = 12000, highSpeed = 3.5f;
        readCFGFile();
        EXPECT_EQ(c.after, (std::vector<float>{float(panelHeight), float(panelWidth),
                                               float(highScore), highSpeed}));
    }
    // Written to a full disk, the file is not replaced and no side file is left.
    writeFile("640\n380\n70\n5.000000\n");
    std::filesystem::create_symlink("/dev/full", "_KIVOSTAKKOGAME.CFG.new");
    writeCFGFile();
    ASSERT_FALSE(std::filesystem::is_symlink("_KIVOSTAKKOGAME.CFG")); // not the full disk itself
    EXPECT_FALSE(std::filesystem::is_symlink("_KIVOSTAKKOGAME.CFG.new"));
    // Reading and writing leave no file open.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}), open);
}

// Writers of the records file killed at random moments, a thousand times: the file holds one
// whole set of records every time, the last one written or the one before, never a part.
TEST_F(Game, TheRecordsFileIsWholeWhenItsWriterIsKilledAtAnyMoment) {
    auto records = [](int k) { // the k-th write's records, every field telling k; their text
        panelHeight = 100 + k % 2900, panelWidth = 3000 - k % 2900, highScore = k;
        highSpeed = k % 80000 / 8.0f; // exact in a float
        char text[80];
        snprintf(text, sizeof text, "%d\n%d\n%d\n%f\n", panelHeight, panelWidth, k,
                 double(highSpeed));
        return std::string(text);
    };
    for (int round = 0, k = 0; round < 1000; ++round, k = round * 100000) {
        const std::string before = readFile();
        const pid_t writer = fork();
        while (writer == 0) // a new set of records at every write of every round
            records(k++), writeCFGFile();
        // Killed only once it has written: from then on it is always in the middle of a write.
        for (int waited = 0; readFile() == before && waited < 20000; ++waited)
            usleep(100);
        usleep(rand() % 501);
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
        const std::string now = readFile();
        ASSERT_TRUE(now != before && sscanf(now.c_str(), "%*d %*d %d", &k) == 1 &&
                    now == records(k))
            << "round " << round << ": the records file holds\n"
            << now;
    }
}

TEST_F(Game, TheInstallationCheckGoesInOrderAndNamesTheFirstMissingFileOnlyAndAGameEndsOnIt) {
    const std::string image = "Images/KIVO_Stakko_Game_", sound = "WAVs/KIVO_Stakko_Game_";
    // clang-format off
    const std::string files[17][2] = {
        {image + "blank.bmp", "image file 1"}, {image + "red.bmp", "image file 2"},
        {image + "green.bmp", "image file 3"}, {image + "blue.bmp", "image file 4"},
        {image + "cyan.bmp", "image file 5"}, {image + "yellow.bmp", "image file 6"},
        {image + "magenta.bmp", "image file 7"}, {sound + "Over.wav", "sound file 1"},
        {sound + "Full_Row.wav", "sound file 2"}, {sound + "Salute.wav", "sound file 3"},
        {sound + "Salute_2.wav", "sound file 4"}, {"KIVO_Stakko", "EXE file"},
        {"stakko.uir", "UIR file"}, {"runtime/stakkort.qss", "DLL file 1"},
        {"runtime/DejaVuSans.ttf", "DLL file 2"}, {"runtime/DejaVuSans-Bold.ttf", "DLL file 3"},
        {"runtime/stakkort.rcc", "CVI file 1"}};
    // clang-format on
    for (int missing = -1; missing < 17; missing++) { // -1: none; else it and the next
        ui = FakeRunTime();
        if (missing >= 0) // not found, or short of memory
            ui.missing = {{files[missing][0], missing % 2 ? -4 : -1},
                          {files[std::min(missing + 1, 16)][0], -1}};
        Log expected; // images are loaded, other files' sizes asked for
        for (int i = 0; i <= (missing < 0 ? 16 : missing); i++)
            expected =
                expected + (i < 7 ? Log{"GetBitmapFromFile(" + files[i][0] + ")"}
                                  : Log{"DisableBreak()", "CVI_GetFileSize(" + files[i][0] + ")",
                                        "EnableBreak()"});
        if (missing >= 0)
            expected.push_back("MessagePopup(Error, Missing " + files[missing][1] + ".)");
        EXPECT_EQ(checkFileIntegrity(), missing < 0);
        EXPECT_EQ(ui.log, expected);
    }
    ui.answer = 1, testRunning = false; // a game started with the last file missing: exit(0)
    EXPECT_EXIT(Start(1, 8, 1, nullptr, 0, 0), testing::ExitedWithCode(0), "");
}

TEST_F(Game, SoundFlagsComeFromEachNonzeroArgumentAndOnlyAWaitedSoundShowsTheScreenFirst) {
    EXPECT_EQ(CVI_PlaySound("b", 0), 7);
    CVI_PlaySound("b", 2);
    CVI_PlaySoundEx("a", -1, 0, 1, 256); // asynchronous; the default allowed, the current stopped
    CVI_PlaySoundEx("a", 0, -1, 2, 0);   // looped, so asynchronous too; the current kept
    StopCurrentSound();
    EXPECT_EQ(ui.log,
              (Log{"ProcessDrawEvents()", "sndPlaySoundA(b, 0)", "sndPlaySoundA(b, 1)",
                   "sndPlaySoundA(a, 1)", "sndPlaySoundA(a, 25)", "sndPlaySoundA(null, 0)"}));
}
