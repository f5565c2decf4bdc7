// The game against the recording fake run-time: the calls it makes, in order and with their
// arguments, and the files it writes, one table per rule that a player relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <regex>
#include <sstream>
#include <set>

#include "fake_ui.h"
#include "fall.h"
#include "painting.h"
#include "pieces.h"
#include "preview.h"
#define main stakkoMain
#include "main.cpp"

// A call of exit in the middle of a test is a failure, unless the test expects it.
static bool testRunning, exitExpected;
static const int exitGuard = std::atexit([] { testRunning && !exitExpected ? _exit(1) : void(); });

using Log = std::vector<std::string>;
static Log operator+(Log a, const Log &b) { return a.insert(a.end(), b.begin(), b.end()), a; }
static bool operator==(const Piece &a, const Piece &b) { return !memcmp(&a, &b, sizeof a); }
static Log &calls() { return ui.log; }
static Log matching(const char *pattern, bool keep = true) { // or, with keep false, the others
    Log found;
    std::copy_if(calls().begin(), calls().end(), std::back_inserter(found),
                 [&](auto &call) { return std::regex_search(call, std::regex(pattern)) == keep; });
    return found;
}
static std::string readFile() {
    std::ifstream in("_KIVOSTAKKOGAME.CFG");
    return {std::istreambuf_iterator<char>(in), {}};
}
static void writeFile(const char *text) { std::ofstream("_KIVOSTAKKOGAME.CFG") << text; }
static int press(int key, int event = 7) { return MainCallBk(1, event, nullptr, key, 0); }
static std::string ask(const char *question) {
    return std::string("GenericMessagePopup(Message, ") + question + ", __Yes, __No, null, null, 0, 0, 2, 2, 0)";
}

// Each test starts as the process does, with every file installed, the cell images loaded (ids
// 100 to 106, blank to magenta), the panel's handle 1 and an empty working folder of its own.
struct Game : testing::Test {
    std::filesystem::path home = std::filesystem::current_path(), dir;
    void SetUp() override {
        char pattern[] = "/tmp/stakko-game-XXXXXX";
        std::filesystem::current_path(dir = mkdtemp(pattern));
        ui = fake::State(), memset(board, 0, sizeof board), memset(cellPlots, 0, sizeof cellPlots);
        gameRunning = gamePaused = pauseActive = rowsCompleted = scoreRecordAtStart = highScore = 0;
        panelHeight = panelWidth = gameStartTime = 0, currentSpeed = highSpeed = 9999.0f;
        soundOn = panelHandle = 1, defaultButtonColour = 0x123456, checkFileIntegrity(), calls().clear();
        testRunning = true;
    }
    void TearDown() override {
        testRunning = false, std::filesystem::current_path(home), std::filesystem::remove_all(dir);
    }
};

// The cells of each shape in rotations 0 to 3 with its pivot at column 5, row 5, as column-row.
static const char *const shapeCells[7][4] = {
    {"54 55 56 57", "45 55 65 75", "54 55 56 57", "45 55 65 75"},
    {"54 55 56 66", "45 46 55 65", "44 54 55 56", "45 55 64 65"},
    {"46 55 56 65", "44 45 55 56", "46 55 56 65", "44 45 55 56"},
    {"55 56 65 66", "55 56 65 66", "55 56 65 66", "55 56 65 66"},
    {"45 55 56 66", "55 56 64 65", "45 55 56 66", "55 56 64 65"},
    {"45 54 55 65", "54 55 56 65", "45 55 56 65", "45 54 55 56"},
    {"46 54 55 56", "44 45 55 65", "54 55 56 64", "45 55 65 66"}};

TEST_F(Game, EachShapeCoversItsCellsAndFitsOnlyOnEmptyCellsOfTheField) {
    for (int shape = 0, turn = 0; shape < 7; turn = (turn + 1) % 4, shape += turn == 0) {
        std::set<std::pair<int, int>> cells; // offsets from the pivot
        for (const char *c = shapeCells[shape][turn]; c < shapeCells[shape][turn] + 12; c += 3) {
            cells.insert({c[0] - '5', c[1] - '5'});
        }
        auto fits = [&](int c, int r) { return CheckCollision(Piece{shape, c, r, turn, 0}) == 0; };
        for (int c = 1, r = 1; r <= 20; c = c % 10 + 1, r += c == 1) {
            EXPECT_EQ(fits(c, r), std::all_of(cells.begin(), cells.end(), [&](auto d) {
                          return c + d.first >= 1 && c + d.first <= 10 && r + d.second <= 20;
                      })) << shape << turn << " at " << c << ", " << r;
        }
        for (int dc = -2, dr = -2; dr <= 2; dc = dc == 2 ? -2 : dc + 1, dr += dc == -2) {
            board[5 + dc][5 + dr] = 1;
            EXPECT_EQ(fits(5, 5), !cells.count({dc, dr})) << shape << turn;
            board[5 + dc][5 + dr] = 0;
        }
        AddArray(Piece{shape, 5, 5, turn, 4});
        for (int c = 0, r = 0; c < 11; r = (r + 1) % 22, c += r == 0) {
            EXPECT_EQ(std::exchange(board[c][r], 0), cells.count({c - 5, r - 5}) ? 4 : 0) << shape << turn;
        }
    }
}

TEST_F(Game, PiecesComeShapeFirstFromTheWichmannHillGenerator) {
    for (int seed : {1, 12345, 1700000123, -1}) {
        int s1 = seed & 0x3FFF, s2 = s1 * 8191 & 0x3FFF, s3 = s2 * 8191 & 0x3FFF;
        auto draw = [&] {
            s1 = 171 * s1 % 30269, s2 = 172 * s2 % 30307, s3 = 170 * s3 % 30323;
            double x = s1 * (1.0 / 30269) + s2 * (1.0 / 30307) + s3 * (1.0 / 30323);
            return x - std::floor(x);
        };
        SetRandomSeed(seed), SetRandomSeed(seed);
        EXPECT_EQ(Random(5.0, 2.0), 5.0); // a reversed range takes no draw, an empty one does
        EXPECT_EQ(Random(2.0, 2.0), 2.0 + 0 * draw());
        for (int i = 0; i < 50; i++) {
            double shape = draw(), colour = draw();
            setNextPiece();
            EXPECT_EQ(nextPiece, (Piece{int(7 * shape), 5, 1, 0, int(1 + 6 * colour)})) << seed;
        }
    }
    for (int seed : {0, 16384, -16384}) { // a seed of 0 takes the clock; 14 low bits 0 still vary
        std::set<int> seen;
        for (int i = (SetRandomSeed(seed), 0); i < 100; i++) {
            seen.insert(int(Random(0.0, 7.0)));
        }
        EXPECT_EQ(seen.size(), 7u) << seed;
    }
}

TEST_F(Game, APieceLandsOnlyAtATickAfterItCameToRest) {
    // The piece, a key pressed before the tick, its row after the key and after the tick (0: it
    // landed and the next piece entered at row 1). A cell fixed at column 1, row 20 is a ledge.
    const struct { Piece piece; int key, afterKey, afterTick; } cases[] = {
        {{0, 5, 16, 0, 2}, 0, 16, 17}, {{0, 5, 18, 0, 2}, 0, 18, 0}, {{0, 5, 1, 0, 2}, 0x40700, 18, 0},
        {{0, 5, 16, 0, 2}, 0x0700, 17, 18}, {{3, 1, 18, 0, 2}, 0, 18, 0}, {{3, 1, 18, 0, 2}, 0x0800, 18, 19}};
    for (const auto &c : cases) {
        memset(board, 0, sizeof board), memset(cellPlots, 0, sizeof cellPlots), board[1][20] = 5;
        currentPiece = c.piece, nextPiece = Piece{3, 5, 1, 0, 6}, gameRunning = 1;
        PaintPiece(c.piece, 1), press(c.key), calls().clear();
        EXPECT_EQ(std::vector<int>({currentPiece.row, TimerCallback(1, 15, 15, nullptr, 0, 0), currentPiece.row,
                                    int(std::count(&board[0][0], &board[0][0] + 242, 2)),
                                    int(matching("DeleteGraphPlot\\(1, 10").size() + matching("PlotBitmap\\(1, 10").size())}),
                  std::vector<int>({c.afterKey, 0, c.afterTick ? c.afterTick : 1, c.afterTick ? 0 : 4, c.afterTick ? 8 : 4}));
    }
}

TEST_F(Game, AKeyMovesThePieceOnlyWhereItFitsAndDrawsEachStep) {
    // Event, key, where the piece goes from shape 1 upright at column 5, row 10, the steps drawn;
    // then keys that do nothing there. Column 10 lies left on screen; (6, 7) is occupied.
    const struct { int event, key; Piece from = {}, to = {}; int steps = 0; } moves[] = {
        {7, 0x0600, {}, {1, 5, 10, 1, 3}, 1}, {7, 0x0600, {1, 5, 10, 3, 3}, {1, 5, 10, 0, 3}, 1},
        {7, 0x0700, {}, {1, 5, 11, 0, 3}, 1}, {7, 0x0800, {}, {1, 6, 10, 0, 3}, 1},
        {7, 0x0900, {}, {1, 4, 10, 0, 3}, 1}, {13, 0x20861, {}, {1, 6, 10, 0, 3}, 1},
        {7, 0x50700, {}, {1, 5, 11, 0, 3}, 1}, {7, 0x40700, {0, 5, 1, 0, 3}, {0, 5, 18, 0, 3}, 17},
        {7, 0x40800}, {7, 0x40600}, {7, 0x0A00}, {3, 0x0800}, {8, 0x0800}, {7, 0x0800, {1, 9, 10, 0, 3}},
        {7, 0x0900, {1, 1, 10, 0, 3}}, {7, 0x0600, {1, 1, 10, 0, 3}}, {7, 0x0700, {1, 5, 19, 0, 3}},
        {7, 0x0700, {3, 5, 5, 0, 3}}};
    for (auto m : moves) {
        memset(board, 0, sizeof board), memset(cellPlots, 0, sizeof cellPlots), board[6][7] = 1;
        m.from = m.from.colour ? m.from : Piece{1, 5, 10, 0, 3}, m.to = m.steps ? m.to : m.from;
        currentPiece = m.from, gameRunning = 1, PaintPiece(m.from, 1), calls().clear();
        EXPECT_EQ(press(m.key, m.event), 0);
        EXPECT_EQ(currentPiece, m.to) << m.key;
        EXPECT_EQ(matching("DeleteGraphPlot|PlotBitmap").size(), 8u * m.steps) << m.key;
    }
    gameRunning = 0, calls().clear(), press(0x0800), press(0x40700);
    EXPECT_EQ(calls().size(), 0u);
}

TEST_F(Game, FullRowsGoAndScoreTenTimesTheirNumberSquared) {
    const std::string sound = "sndPlaySoundA(WAVs/KIVO_Stakko_Game_Full_Row.wav, 2)";
    // Full rows (cells also at column 4, row 16 and at column 7, row 19), score, record, rows done
    // before, seconds since the start, sound; calls but the cells' repainting; cells occupied after;
    // the records file after.
    const struct { std::set<int> full; int score, record, rows, seconds, sound; Log log;
                   std::set<std::pair<int, int>> cells; const char *file; } cases[] = {
        {{}, 30, 50, 20, 9, 1, {"SetCtrlAttribute(1, 15, 1270, 0.38)"}, {{4, 16}, {7, 19}}, ""},
        {{20}, 30, 40, 9, 45, 1, {"GetCtrlVal(1, 4)", "SetCtrlVal(1, 4, 40)", "ProcessDrawEvents()", sound,
          "SetCtrlVal(1, 3, 4.5)", "SetCtrlAttribute(1, 15, 1270, 0.39)"}, {{4, 17}, {7, 20}}, ""},
        {{17, 18, 19, 20}, 30, 50, 0, 9, 1, {"GetCtrlVal(1, 4)", "SetCtrlVal(1, 4, 190)", "ResetTextBox(1, 13, 190)",
          "ProcessDrawEvents()", sound, "SetCtrlAttribute(1, 15, 1270, 0.396)"}, {{4, 20}}, "0\n0\n190\n9999.000000\n"},
        {{18, 20}, 30, 50, 98, 25, 0, {"GetCtrlVal(1, 4)", "SetCtrlVal(1, 4, 70)", "ResetTextBox(1, 13, 70)",
          "SetCtrlVal(1, 3, 0.25)", "SetCtrlAttribute(1, 15, 1270, 0.3)"}, {{4, 18}, {7, 20}}, "0\n0\n70\n9999.000000\n"}};
    for (const auto &c : cases) {
        std::set<std::pair<int, int>> cells;
        std::filesystem::remove("_KIVOSTAKKOGAME.CFG"), calls().clear();
        for (int column = 0, row = 0; column < 11; row = (row + 1) % 22, column += row == 0) {
            board[column][row] = column && row && row < 21 && (c.full.count(row) || column * 100 + row == 416 || column * 100 + row == 719);
        }
        at(4, 0) = c.score, highScore = c.record, rowsCompleted = c.rows, soundOn = c.sound;
        gameStartTime = time(NULL) - c.seconds, CheckRows();
        for (int column = 0, row = 0; column < 11; row = (row + 1) % 22, column += row == 0) {
            board[column][row] ? (void)cells.insert({column, row}) : void();
        }
        EXPECT_EQ(matching("\\(1, 10, ", false), c.log);
        EXPECT_EQ(cells, c.cells);
        EXPECT_EQ(matching("1, 10, 530, 0").size(), 10u * std::accumulate(c.full.begin(), c.full.end(), 0));
        EXPECT_EQ(readFile(), c.file);
    }
}

TEST_F(Game, AtGameOverTheGameStopsThenEachRecordIsJudgedAgainstTheFile) {
    const std::string lost = "MessagePopup(Game Over, Sorry, you have lost the game.\n", again =
        "Click Start to start over.)", sound = "sndPlaySoundA(WAVs/KIVO_Stakko_Game_", shown = "ProcessDrawEvents()";
    const std::string score = lost + "But you have created a new Score record.\nCongratulations!\n" + again,
        speed = "MessagePopup(Game Over, You have created a new Speed record.\nSpeed is defined by how many "
                "seconds you complete a row.\nSpeed needs at least 10 rows to make the everage.)";
    const Log stop = {"SetCtrlAttribute(1, 15, 1271, 0)", "SetCtrlVal(1, 11, 0)",
                      "SetCtrlAttribute(1, 8, 500, 0)", "SetCtrlAttribute(1, 5, 500, 1)"};
    // The records file (none: ""), the score record at the start, rows done in 45 seconds, sound;
    // the calls after the preview; the records file after.
    const struct { const char *file; int atStart, rows, sound; Log log; const char *after; } cases[] = {
        {"792\n461\n50\n4.600000\n", 20, 10, 1, stop + Log{shown, sound + "Over.wav, 2)", score, shown,
         sound + "Salute.wav, 2)", "ResetTextBox(1, 12, 4.50)", speed, shown, sound + "Salute_2.wav, 2)"},
         "792\n461\n50\n4.500000\n"},
        {"792\n461\n50\n4.600000\n", 20, 10, 0, stop + Log{score, "ResetTextBox(1, 12, 4.50)", speed},
         "792\n461\n50\n4.500000\n"},
        {"792\n461\n20\n4.6\n", 20, 9, 1, stop + Log{shown, sound + "Over.wav, 2)", lost + again}, "792\n461\n20\n4.6\n"},
        {"1\n1\n0\n4.5\n", 0, 10, 0, stop + Log{lost + again}, "1\n1\n0\n4.5\n"},
        {"", 0, 10, 0, stop + Log{lost + again, "ResetTextBox(1, 12, 4.50)", speed}, "792\n461\n0\n4.500000\n"}};
    for (const auto &c : cases) {
        std::filesystem::remove("_KIVOSTAKKOGAME.CFG"), *c.file ? writeFile(c.file) : void();
        highScore = 99, highSpeed = 1, scoreRecordAtStart = c.atStart, rowsCompleted = c.rows;
        soundOn = c.sound, gameRunning = pauseActive = 1, gameStartTime = time(NULL) - 45;
        board[5][1] = 2, nextPiece = Piece{3, 5, 1, 0, 4}, calls().clear();
        NewPiece(); // every shape covers its pivot, the entry cell
        EXPECT_EQ(calls().at(16), "SetCtrlAttribute(1, 2, 530, 1)"); // the preview first
        EXPECT_EQ(Log(calls().begin() + 17, calls().end()), c.log);
        EXPECT_EQ(readFile() + std::to_string(gameRunning + pauseActive), c.after + std::string("0"));
    }
}

TEST_F(Game, ThePreviewRedrawsTheNextPieceCellByCellAroundItsOwnCell) {
    // Shape and colour of the next piece, where its cells are plotted, the bitmap drawn.
    const struct { int shape, colour; const char *places; int bitmap; } cases[] = {
        {0, 1, "20 20|20 30|20 10|20 0", 101}, {3, 6, "20 20|20 10|10 20|10 10", 106},
        {5, 3, "20 20|30 20|20 30|10 20", 103}, {2, 0, "20 20|10 20|20 10|30 10", 100},
        {4, 7, "20 20|30 20|20 10|10 10", 100}};
    for (const auto &c : cases) {
        nextPiece = Piece{c.shape, 9, 9, 0, c.colour}, calls().clear(), ui.lastPlot.clear();
        DisplayNextPiece();
        Log expected = {"DeleteGraphPlot(1, 2, -1, 1)"};
        std::stringstream places(c.places);
        for (std::string x, y; std::getline(places, x, ' ') && std::getline(places, y, '|');) {
            std::string plot = std::to_string(ui.lastPlot[0]++ + 1) + ", " + std::to_string(c.bitmap);
            expected = expected + Log{"SetCtrlAttribute(1, 2, 530, 0)"} +
                       (c.bitmap == 100 ? Log{"MessagePopup(Strange, Should not happen.)"} : Log{}) +
                       Log{"PlotBitmap(1, 2, " + x + ", " + y + ", 10, 10, null)", "SetCtrlBitmap(1, 2, " + plot + ")",
                           "SetCtrlAttribute(1, 2, 530, 1)"};
        }
        EXPECT_EQ(calls(), expected);
    }
}

TEST_F(Game, ACellIsOneBitmapPlotAtItsPlaceAndTheBlankImageErasesIt) {
    // Column, row, colour, whether the plot fails; the calls between the board's hide and show.
    const struct { int column, row, colour, fails; Log log; } steps[] = {
        {1, 1, 2, 0, {"PlotBitmap(1, 10, 90, 190, 10, 10, null)", "SetCtrlBitmap(1, 10, 1, 102)"}},
        {1, 1, 2, 0, {"DeleteGraphPlot(1, 10, 1, 1)", "PlotBitmap(1, 10, 90, 190, 10, 10, null)",
                      "SetCtrlBitmap(1, 10, 2, 102)"}},
        {1, 1, 7, 0, {"DeleteGraphPlot(1, 10, 2, 1)"}}, {1, 1, 0, 0, {}},
        {10, 20, 6, 0, {"PlotBitmap(1, 10, 0, 0, 10, 10, null)", "SetCtrlBitmap(1, 10, 3, 106)"}},
        {10, 20, 5, 1, {"DeleteGraphPlot(1, 10, 3, 1)", "PlotBitmap(1, 10, 0, 0, 10, 10, null)"}},
        {10, 20, -1, 0, {}}, {5, 0, 1, 0, {"PlotBitmap(1, 10, 50, 200, 10, 10, null)", "SetCtrlBitmap(1, 10, 4, 101)"}}};
    for (const auto &s : steps) {
        calls().clear(), ui.plotFailures = s.fails, PaintSquare(s.column, s.row, s.colour);
        EXPECT_EQ(calls(), Log{"SetCtrlAttribute(1, 10, 530, 0)"} + s.log + Log{"SetCtrlAttribute(1, 10, 530, 1)"});
    }
    EXPECT_EQ(cellPlots[5][20], 4);
    calls().clear(), PaintPiece(Piece{5, 5, 5, 0, 3}, 1), PaintPiece(Piece{5, 5, 5, 0, 3}, 0);
    EXPECT_EQ(matching("Plot"), (Log{"PlotBitmap(1, 10, 50, 150, 10, 10, null)", "PlotBitmap(1, 10, 60, 150, 10, 10, null)",
        "PlotBitmap(1, 10, 50, 160, 10, 10, null)", "PlotBitmap(1, 10, 40, 150, 10, 10, null)", "DeleteGraphPlot(1, 10, 5, 1)",
        "DeleteGraphPlot(1, 10, 6, 1)", "DeleteGraphPlot(1, 10, 7, 1)", "DeleteGraphPlot(1, 10, 8, 1)"}));
}

static int panelEvent(int, int, int event, void *, int key, int) { return MainCallBk(1, event, nullptr, key, 0); }

TEST_F(Game, CommandsActOnTheirOwnEventOnlyAndGiveEachStateItsLook) {
    const std::string off = "SetCtrlAttribute(1, 15, 1271, 0)", on = "SetCtrlAttribute(1, 15, 1271, 1)",
        quit = ask("Do you quit the game now?"), start = ask("Do you want to start a new game now?"),
        help = "MessagePopup(Help, Goal: make a full row to score\n\nLeft arrow key: move left\nRight key: "
               "move right\nUp key: rotate\nDown key (hold): accelerated down\nCtrl + Down key: immediate "
               "down\n\nClick the foot icon \tto visit website\nStakko \xC2\xA9 2026 the Stakko developers. "
               "Free to play and to share.)";
    const Log held = {off, "SetCtrlVal(1, 11, 0)", "SetCtrlAttribute(1, 8, 500, 1)", "SetCtrlAttribute(1, 5, 880, 65280)"},
        going = {on, "SetCtrlVal(1, 11, 1)", "SetCtrlAttribute(1, 8, 500, 0)", "SetCtrlAttribute(1, 5, 880, 1193046)"};
    // From a running game on, in turn: the callback, its event, the answer to a question, the
    // result and the calls made.
    const struct { CtrlCallbackPtr callback; int event, answer, result; Log log; } steps[] = {
        {Start, 2, 1, 0, {}}, {pauseGame, 2, 0, 0, {}}, {noSound, 3, 0, 0, {}}, {Help, 2, 0, 0, {}},
        {QuitCallback, 2, 1, 0, {}}, {goOnline, 1, 0, 0, {}}, {TimerCallback, 1, 0, 0, {}},
        {panelEvent, 3, 0, 0, {}}, {panelEvent, 8, 0, 0, {}}, {pauseGame, 1, 0, 0, held},
        {Help, 1, 0, 0, {help}}, {QuitCallback, 1, 2, 0, {off, quit}}, {pauseGame, 1, 0, 0, going},
        {Help, 1, 0, 0, held + Log{help} + going}, {QuitCallback, 1, 0, 0, {off, quit, on}},
        {Start, 1, 2, 1, {off, start, on, "SetCtrlVal(1, 11, 1)", "SetCtrlAttribute(1, 5, 500, 0)"}},
        {noSound, 1, 0, 0, {"SetCtrlAttribute(1, 6, 880, 16711680)"}},
        {noSound, 1, 0, 0, {"SetCtrlAttribute(1, 6, 880, 1193046)"}},
        {goOnline, 3, 0, 0, {"LaunchExecutable(xdg-open https://www.stakko.org/kivogame.html)"}},
        {QuitCallback, 1, 1, 0, {off, quit, "QuitUserInterface(0)"}}, {Help, 1, 0, 0, {help}},
        {QuitCallback, 1, 2, 0, {off, quit}}, {Start, 1, 0, 1, {off, start}},
        {QuitCallback, 1, 1, 0, {off, quit, "QuitUserInterface(0)"}},
        {panelEvent, 12, 0, 0, {"GetPanelAttribute(1, 540)", "GetPanelAttribute(1, 533)"}}};
    gameRunning = 1, currentPiece = Piece{0, 5, 5, 0, 1};
    for (const auto &s : steps) {
        calls().clear(), ui.answer = s.answer;
        EXPECT_EQ(s.callback(1, 0, s.event, nullptr, 0x0800, 0), s.result) << &s - steps;
        EXPECT_EQ(calls(), s.log) << &s - steps;
    }
}

TEST_F(Game, StartingAGameResetsEverythingThenBringsTheFirstTwoPieces) {
    std::fill(&board[0][0], &board[0][0] + 242, 3), std::fill(&cellPlots[0][0], &cellPlots[0][0] + 242, 999);
    writeFile("640\n380\n70\n5.000000\n"), rowsCompleted = 7, ui.answer = 1;
    int seed = int(time(NULL));
    EXPECT_EQ(Start(1, 8, EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(matching("GetBitmapFromFile").size(), 7u); // the installation is checked again
    EXPECT_EQ(matching("Bitmap|Break|FileSize|, 530, ", false),
              (Log{"SetCtrlAttribute(1, 15, 1271, 0)", ask("Do you want to start a new game now?"),
                   "SetCtrlAttribute(1, 15, 1270, 0.4)", "SetCtrlVal(1, 4, 0)", "SetCtrlVal(1, 3, 9999)",
                   "DeleteGraphPlot(1, 10, -1, 1)", "DeleteGraphPlot(1, 2, -1, 1)", "SetCtrlAttribute(1, 15, 1271, 1)",
                   "SetCtrlVal(1, 11, 1)", "SetCtrlAttribute(1, 5, 500, 0)", "SetActiveCtrl(1, 5)"}));
    EXPECT_EQ(matching("PlotBitmap").size(), 8u); // the next piece's preview, then the first piece
    EXPECT_EQ(std::count(&board[0][0], &board[0][0] + 242, 0), 210); // column 0 and row 21 stay
    EXPECT_EQ(std::count(&cellPlots[0][0], &cellPlots[0][0] + 242, 999), 11);
    EXPECT_EQ((std::vector<long>{scoreRecordAtStart, rowsCompleted, gameRunning}), (std::vector<long>{70, 0, 1}));
    EXPECT_GE(gameStartTime, seed);
    Piece first = currentPiece, second = nextPiece;
    SetRandomSeed(seed), setNextPiece();
    EXPECT_EQ(nextPiece, first);
    setNextPiece();
    EXPECT_EQ(nextPiece, second);
}

TEST_F(Game, AFileMissingAtAGameStartEndsTheProgramWithZero) {
    ui.missing["WAVs/KIVO_Stakko_Game_Full_Row.wav"] = -1, ui.answer = 1;
    EXPECT_EXIT((exitExpected = true, Start(1, 8, EVENT_COMMIT, nullptr, 0, 0)), testing::ExitedWithCode(0), "");
}

TEST_F(Game, StartUpChecksTheFilesThenShowsTheIdlePanelAtItsStoredSize) {
    char *arguments[] = {nullptr};
    // The file missing, the run-time's and the panel's results; main's result and its calls.
    const struct { const char *missing; int init, panel, result; Log log; } cases[] = {
        {"stakko.uir", 1, 0, 0, {"MessagePopup(Error, Missing UIR file.)"}}, {"", 0, 0, -1, {"InitCVIRTEEx()"}},
        {"", 1, -2, -1, {"InitCVIRTEEx()", "LoadPanel(0, stakko.uir, 1)"}},
        {"", 1, 0, 0, {"InitCVIRTEEx()", "LoadPanel(0, stakko.uir, 1)", "SetCtrlAttribute(0, 15, 1271, 0)",
          "SetCtrlAttribute(0, 11, 920, 65280)", "SetCtrlAttribute(0, 11, 921, 16711680)", "SetCtrlVal(0, 11, 0)",
          "SetCtrlAttribute(0, 5, 500, 1)", "GetCtrlAttribute(0, 5, 880)", "ResetTextBox(0, 13, 1250)",
          "ResetTextBox(0, 12, 3.42)", "SetPanelSize(0, 640, 380)", "DisplayPanel(0)", "RunUserInterface()",
          "DiscardPanel(0)"}}};
    writeFile("640\n380\n1250\n3.418750\n");
    for (const auto &c : cases) {
        ui = fake::State(), ui.initResult = c.init, ui.loadResult = c.panel;
        ui.missing[c.missing] = -1, at(5, 880) = 0x3A4B5C, soundOn = 0, pauseActive = 1;
        ui.onRun = [] { EXPECT_EQ(soundOn * 10 + pauseActive + defaultButtonColour, 0x3A4B5C + 10); };
        EXPECT_EQ(stakkoMain(1, arguments), c.result);
        EXPECT_EQ(matching("Bitmap|Break|FileSize", false), c.log);
        EXPECT_EQ(calls()[0], "GetBitmapFromFile(Images/KIVO_Stakko_Game_blank.bmp)"); // the check first
    }
    EXPECT_EQ(readFile(), "640\n380\n1250\n3.418750\n");
}

TEST_F(Game, TheRecordsFileIsReadIntoItsRangesOrGivesTheDefaults) {
    // The file ("-": none, "/": a folder in its place); panel height and width, score and speed
    // records before the read and after it.
    const struct { const char *file; float before[4], after[4]; } cases[] = {
        {"-", {5, 5, 5, 5}, {792, 461, 0, 9999}}, {"/", {5, 5, 5, 5}, {792, 461, 0, 9999}},
        {"50\n5000\n-3\n-1.5\n", {5, 5, 5, 5}, {100, 3000, 0, 9999}},
        {"100\r\n3000\r\n9999\r\n0.000000\r\n", {5, 5, 5, 5}, {100, 3000, 9999, 0}},
        {"99 3001 10000 9999.5", {5, 5, 5, 5}, {100, 3000, 9999, 9999}},
        {"3001\n99\n-1\n3.41875\n", {5, 5, 5, 5}, {3000, 100, 0, 3.41875f}},
        {"800\n500\n", {50, 4000, 12000, 3.5}, {800, 500, 9999, 3.5}},
        {"", {50, 4000, -5, 10000}, {100, 3000, 0, 9999}}, {"abc\n1\n2\n3\n", {640, 380, 70, -2}, {640, 380, 70, 9999}}};
    for (const auto &c : cases) {
        std::filesystem::remove("_KIVOSTAKKOGAME.CFG");
        *c.file == '/' ? (void)std::filesystem::create_directory("_KIVOSTAKKOGAME.CFG") : *c.file == '-' ? void() : writeFile(c.file);
        panelHeight = int(c.before[0]), panelWidth = int(c.before[1]), highScore = int(c.before[2]), highSpeed = c.before[3];
        readCFGFile();
        EXPECT_EQ((std::vector<float>{float(panelHeight), float(panelWidth), float(highScore), highSpeed}),
                  std::vector<float>(c.after, c.after + 4)) << c.file;
        EXPECT_EQ(std::filesystem::exists("_KIVOSTAKKOGAME.CFG"), *c.file != '-'); // reading creates none
    }
}

TEST_F(Game, RecordsAreWrittenAsFourLinesWhenSetOrWhenThePanelIsResized) {
    panelHeight = 792, panelWidth = 461, highScore = 12000, highSpeed = 3.41875f;
    writeFile("1\n2\n3\n4\n5\n6\n"), writeCFGFile(), displayHighScore(), displayHighSpeed();
    EXPECT_EQ(readFile(), "792\n461\n12000\n3.418750\n");
    EXPECT_EQ(calls(), (Log{"ResetTextBox(1, 13, 12000)", "ResetTextBox(1, 12, 3.42)"}));
    std::filesystem::remove("_KIVOSTAKKOGAME.CFG"), ui.height = 600, ui.width = 400;
    EXPECT_EQ(MainCallBk(1, EVENT_PANEL_SIZE, nullptr, 0, 0), 0);
    EXPECT_EQ(readFile(), "600\n400\n12000\n3.418750\n");
}

TEST_F(Game, TheInstallationCheckGoesInOrderAndNamesTheFirstMissingFileOnly) {
    const char *const files[17] = {"Images/KIVO_Stakko_Game_blank.bmp", "Images/KIVO_Stakko_Game_red.bmp",
        "Images/KIVO_Stakko_Game_green.bmp", "Images/KIVO_Stakko_Game_blue.bmp", "Images/KIVO_Stakko_Game_cyan.bmp",
        "Images/KIVO_Stakko_Game_yellow.bmp", "Images/KIVO_Stakko_Game_magenta.bmp", "WAVs/KIVO_Stakko_Game_Over.wav",
        "WAVs/KIVO_Stakko_Game_Full_Row.wav", "WAVs/KIVO_Stakko_Game_Salute.wav", "WAVs/KIVO_Stakko_Game_Salute_2.wav",
        "KIVO_Stakko", "stakko.uir", "runtime/stakkort.qss", "runtime/DejaVuSans.ttf", "runtime/DejaVuSans-Bold.ttf",
        "runtime/stakkort.rcc"}, *const messages[17] = {"image file 1", "image file 2", "image file 3",
        "image file 4", "image file 5", "image file 6", "image file 7", "sound file 1", "sound file 2",
        "sound file 3", "sound file 4", "EXE file", "UIR file", "DLL file 1", "DLL file 2", "DLL file 3", "CVI file 1"};
    for (int missing = -1; missing < 17; missing++) { // -1: nothing missing; else it and the next
        Log expected;
        ui = fake::State(), ui.missing = {{files[std::max(missing, 0)], missing % 2 ? -4 : -1}, {files[std::min(missing + 1, 16)], -1}};
        missing < 0 ? ui.missing.clear() : void();
        for (int i = 0; i <= (missing < 0 ? 16 : missing); i++) {
            expected = expected + (i < 7 ? Log{"GetBitmapFromFile(" + std::string(files[i]) + ")"}
                                         : Log{"DisableBreak()", "CVI_GetFileSize(" + std::string(files[i]) + ")", "EnableBreak()"});
        }
        EXPECT_EQ(checkFileIntegrity(), missing < 0);
        EXPECT_EQ(calls(), missing < 0 ? expected : expected + Log{"MessagePopup(Error, Missing " + std::string(messages[missing]) + ".)"});
    }
}

TEST_F(Game, FileExistsTellsFoundMissingShortOfMemoryOrOtherAndPutsTheBreakSettingBack) {
    int size = 0;
    ui.missing = {{"b", -1}, {"c", -4}, {"d", -7}}, ui.breakOnErrors = 0;
    EXPECT_EQ((std::vector<int>{FileExists("a", &size), FileExists("b", nullptr), FileExists("c", nullptr),
                                FileExists("d", &size)}), (std::vector<int>{1, 0, -12, -93}));
    EXPECT_EQ(std::to_string(size) + matching("Break").back(), "-1DisableBreak()");
}

TEST_F(Game, SoundsGetTheirFlagsAndTheScreenIsShownBeforeASoundThatHolds) {
    CVI_PlaySoundEx("a", 0, 0, 0, 1), CVI_PlaySoundEx("b", 1, 0, 1, 0), CVI_PlaySoundEx("c", 0, 1, 0, 0);
    CVI_PlaySoundEx("d", 0, 0, 1, 1), CVI_PlaySound("e", 1), CVI_PlaySound("f", 0), StopCurrentSound();
    EXPECT_EQ(calls(), (Log{"ProcessDrawEvents()", "sndPlaySoundA(a, 2)", "sndPlaySoundA(b, 17)", "sndPlaySoundA(c, 27)",
                            "ProcessDrawEvents()", "sndPlaySoundA(d, 0)", "sndPlaySoundA(e, 1)", "ProcessDrawEvents()",
                            "sndPlaySoundA(f, 0)", "sndPlaySoundA(null, 0)"}));
}
