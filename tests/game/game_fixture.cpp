#include "game_fixture.h"

#include <iterator>
#include <unistd.h>

void GameTest::SetUp() {
    previousDir_ = std::filesystem::current_path();
    char pattern[] = "/tmp/stakko-game-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    workDir_ = pattern;
    std::filesystem::current_path(workDir_);
    fake::reset();
    std::memset(board, 0, sizeof board);
    std::memset(cellPlots, 0, sizeof cellPlots);
    std::memset(colourBitmaps, 0, sizeof colourBitmaps);
    currentPiece = nextPiece = Piece{};
    panelHandle = defaultButtonColour = gameRunning = gamePaused = pauseActive = 0;
    rowsCompleted = scoreRecordAtStart = highScore = panelHeight = panelWidth = 0;
    gameStartTime = 0;
    currentSpeed = highSpeed = 9999.0f;
    timerInterval = 0;
    soundOn = 1;
}

void GameTest::TearDown() {
    std::filesystem::current_path(previousDir_);
    std::filesystem::remove_all(workDir_);
}

void GameTest::fillRow(int row, int gapColumn) {
    for (int c = 1; c <= 10; c++) {
        board[c][row] = c == gapColumn ? 0 : 1;
    }
}

void GameTest::startRunningGame() {
    panelHandle = 1;
    ASSERT_EQ(checkFileIntegrity(), 1);
    gameRunning = 1;
    timerInterval = initialInterval;
    fake::ui.log.clear();
}

std::string GameTest::readRecordsFile() {
    std::ifstream file(recordsFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

CellPlots GameTest::boardPlots() {
    CellPlots cells;
    for (const auto &[handle, plot] : fake::ui.plots[PANEL_BOARD]) {
        cells[{10 - int(plot.x) / 10, 20 - int(plot.y) / 10}] = plot.bitmap;
    }
    return cells;
}

Cells GameTest::pieceCells(const Piece &piece) {
    const int *offsets = pieceOffsets(piece);
    Cells cells = {{piece.column, piece.row}};
    for (int i = 0; i < 3; i++) {
        cells.insert({piece.column + offsets[i], piece.row + offsets[3 + i]});
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
