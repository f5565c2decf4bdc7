// Every game test starts from a fresh process-like state: the game's globals as at process
// start, a fresh fake run-time with all files installed, and its own empty working folder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "board.h"
#include "fake_ui.h"
#include "fall.h"
#include "game_sounds.h"
#include "game_state.h"
#include "install_check.h"
#include "moves.h"
#include "painting.h"
#include "pieces.h"
#include "preview.h"
#include "records_file.h"
#include "stakko.h"

inline bool operator==(const Piece &a, const Piece &b) {
    return a.shape == b.shape && a.column == b.column && a.row == b.row &&
           a.rotation == b.rotation && a.colour == b.colour;
}
inline void PrintTo(const Piece &p, std::ostream *out) {
    *out << "{" << p.shape << ", " << p.column << ", " << p.row << ", " << p.rotation << ", "
         << p.colour << "}";
}

using Log = std::vector<std::string>;
using Cells = std::set<std::pair<int, int>>; // (column, row)
// Plots of the board graph by the cell they show: (column, row) -> bitmap id.
using CellPlots = std::map<std::pair<int, int>, int>;

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

  public:
    // Fills a board row's columns 1..10 but the gap column.
    static void fillRow(int row, int gapColumn);
    // The game as Start leaves it running, with the cell images loaded, and an empty log.
    static void startRunningGame();
    static std::string readRecordsFile();
    static void writeRecordsFile(const std::string &contents) {
        std::ofstream(recordsFileName, std::ios::binary) << contents;
    }

    // The board graph's plots, placed by where each plot stands.
    static CellPlots boardPlots();
    // The four cells that a piece covers.
    static Cells pieceCells(const Piece &piece);
    static CellPlots piecePlots(const Piece &piece);
    // Makes the piece the falling one, drawn where it stands, and empties the log.
    static void fallingPiece(const Piece &piece);
    static int press(int keyCode) { return MainCallBk(1, EVENT_KEYPRESS, nullptr, keyCode, 0); }
    static int tick() { return TimerCallback(1, PANEL_TIMER, EVENT_TIMER_TICK, nullptr, 0, 0); }
    static int pressStart(int answer) {
        fake::ui.answers.push_back(answer);
        return Start(1, PANEL_START, EVENT_COMMIT, nullptr, 0, 0);
    }
    static Log calls(const std::string &prefix) { return fake::callsStartingWith(prefix); }
    static Log popups() { return calls("MessagePopup"); }
    static Log sounds() { return calls("sndPlaySoundA"); }
    // The log entry of one of the game's sounds, played to its end without a default sound.
    static std::string soundCall(const char *file) {
        return std::string("sndPlaySoundA(") + file + ", 2)";
    }

  private:
    std::filesystem::path previousDir_, workDir_;
};

// A game running as Start leaves it, with a next piece drawn from a fixed seed.
class RunningGameTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        startRunningGame();
        SetRandomSeed(2024);
        setNextPiece();
    }
};
