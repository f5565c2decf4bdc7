// Every game test starts from a fresh process-like state: the game's globals as at process
// start, a fresh fake run-time with all files installed, and its own empty working folder.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "board.h"
#include "fake_ui.h"
#include "install_check.h"

inline bool operator==(const Piece &a, const Piece &b) {
    return a.shape == b.shape && a.column == b.column && a.row == b.row &&
           a.rotation == b.rotation && a.colour == b.colour;
}
inline void PrintTo(const Piece &p, std::ostream *out) {
    *out << "{shape " << p.shape << ", column " << p.column << ", row " << p.row << ", rotation "
         << p.rotation << ", colour " << p.colour << "}";
}

// Plots of the board graph by the cell they show: (column, row) -> bitmap id.
using CellPlots = std::map<std::pair<int, int>, int>;

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

  public:
    // Fills a board row's columns 1..10, leaving out the given column (0: none left out).
    static void fillRow(int row, int gapColumn = 0, int colour = 1);
    // Puts the game in the running state as Start would, with the fake panel loaded.
    static void startRunningGame();
    static std::string readRecordsFile();
    static void writeRecordsFile(const std::string &contents);

    // The board graph's plots, placed by where each plot stands.
    static CellPlots boardPlots();
    // The four (column, row) cells that a piece covers, pivot first.
    static std::vector<std::pair<int, int>> pieceCells(const Piece &piece);
    // The plots that show a piece in its colour.
    static CellPlots piecePlots(const Piece &piece);
    // Makes the piece the falling one, drawn where it stands, and empties the log.
    static void fallingPiece(const Piece &piece);
    // The log entry of one of the game's sounds, played to its end without a default sound.
    static std::string soundCall(const char *file);
    static std::vector<std::string> popups() { return fake::callsStartingWith("MessagePopup"); }
    static std::vector<std::string> sounds() { return fake::callsStartingWith("sndPlaySoundA"); }

  private:
    std::string previousDir_;
    std::string workDir_;
};
