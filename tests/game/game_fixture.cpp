#include "game_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "board.h"
#include "fall.h"
#include "game_sounds.h"
#include "game_state.h"
#include "install_check.h"
#include "painting.h"
#include "pieces.h"
#include "records_file.h"
#include "stakko.h"

static void resetGameGlobals() {
    std::memset(board, 0, sizeof board);
    std::memset(cellPlots, 0, sizeof cellPlots);
    std::memset(colourBitmaps, 0, sizeof colourBitmaps);
    currentPiece = Piece{};
    nextPiece = Piece{};
    panelHandle = 0;
    defaultButtonColour = 0;
    gameRunning = gamePaused = pauseActive = 0;
    rowsCompleted = 0;
    gameStartTime = 0;
    currentSpeed = 9999.0f;
    timerInterval = 0;
    scoreRecordAtStart = 0;
    highScore = 0;
    highSpeed = 9999.0f;
    panelHeight = panelWidth = 0;
    soundOn = 1;
}

void GameTest::SetUp() {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    previousDir_ = cwd;
    char pattern[] = "/tmp/stakko-game-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    workDir_ = pattern;
    ASSERT_EQ(chdir(workDir_.c_str()), 0);
    fake::reset();
    fake::installAllFiles();
    resetGameGlobals();
}

void GameTest::TearDown() {
    ASSERT_EQ(chdir(previousDir_.c_str()), 0);
    std::string command = "rm -rf '" + workDir_ + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

void GameTest::fillRow(int row, int gapColumn, int colour) {
    for (int c = 1; c <= 10; c++) {
        board[c][row] = c == gapColumn ? 0 : colour;
    }
}

void GameTest::startRunningGame() {
    panelHandle = 1;
    ASSERT_EQ(checkFileIntegrity(), 1);
    gameRunning = 1;
    timerInterval = initialInterval;
}

std::string GameTest::readRecordsFile() {
    std::ifstream file(recordsFileName, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

void GameTest::writeRecordsFile(const std::string &contents) {
    std::ofstream file(recordsFileName, std::ios::binary);
    file << contents;
}

CellPlots GameTest::boardPlots() {
    CellPlots cells;
    for (const auto &[handle, plot] : fake::ui.plots[PANEL_BOARD]) {
        cells[{10 - static_cast<int>(plot.x) / 10, 20 - static_cast<int>(plot.y) / 10}] =
            plot.bitmap;
    }
    return cells;
}

std::vector<std::pair<int, int>> GameTest::pieceCells(const Piece &piece) {
    const int *offsets = pieceOffsets(piece);
    std::vector<std::pair<int, int>> cells = {{piece.column, piece.row}};
    for (int i = 0; i < 3; i++) {
        cells.emplace_back(piece.column + offsets[i], piece.row + offsets[3 + i]);
    }
    return cells;
}

CellPlots GameTest::piecePlots(const Piece &piece) {
    CellPlots plots;
    for (const auto &cell : pieceCells(piece)) {
        plots[cell] = colourBitmaps[piece.colour];
    }
    return plots;
}

void GameTest::fallingPiece(const Piece &piece) {
    currentPiece = piece;
    PaintPiece(piece, 1);
    fake::ui.log.clear();
}

std::string GameTest::soundCall(const char *file) {
    return std::string("sndPlaySoundA(") + file + ", 2)";
}
