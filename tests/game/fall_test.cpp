// The timed fall: a tick drops or lands the piece; full rows go, score, record, speed and the
// timer's interval follow.
#include "game_fixture.h"

class FallTest : public RunningGameTest {
  protected:
    // Lands an upright line in column 5 over rows 17 to 20 on an otherwise empty board, whose
    // rows from the given one down are full but for column 5.
    static void landLineOverFullRowsFrom(int firstFullRow) {
        std::memset(board, 0, sizeof board);
        for (int row = firstFullRow; row <= 20; row++) {
            fillRow(row, 5);
        }
        fallingPiece(Piece{0, 5, 18, 0, 6});
        tick();
    }
    static size_t hides() { return calls("SetCtrlAttribute(1, 10, 530, 0)").size(); }
};

TEST_F(FallTest, ATickDropsThePieceOrLandsItAndBringsTheNextOne) {
    fallingPiece(Piece{0, 5, 14, 0, 4}); // an upright line, four rows above the floor
    EXPECT_EQ(tick(), 0);
    EXPECT_EQ(currentPiece, (Piece{0, 5, 15, 0, 4}));
    EXPECT_EQ(boardPlots(), piecePlots(currentPiece));
    EXPECT_EQ(hides(), 8u); // erase four, paint four
    EXPECT_EQ(std::count(&board[0][0], &board[0][0] + sizeof board / sizeof(int), 0),
              BOARD_COLUMNS * BOARD_ROWS);
    press(VAL_MENUKEY_MODIFIER | VAL_DOWN_ARROW_VKEY);
    press(VAL_LEFT_ARROW_VKEY); // a dropped piece has not landed yet
    Piece entering = nextPiece;
    tick();
    for (int row = 17; row <= 20; row++) {
        EXPECT_EQ(board[6][row], 4) << row;
    }
    EXPECT_EQ(currentPiece, (Piece{entering.shape, 5, 1, 0, entering.colour}));
    EXPECT_EQ(boardPlots().size(), 8u);
}

TEST_F(FallTest, RowsRemovedByOneLandingScoreTenTimesTheSquare) {
    const int points[] = {0, 10, 40, 90, 160};
    for (int n = 1; n <= 4; n++) {
        fake::ui.values[PANEL_SCORE] = 7;
        rowsCompleted = 3;
        landLineOverFullRowsFrom(21 - n);
        EXPECT_EQ(fake::ui.values[PANEL_SCORE], 7 + points[n]) << n << " rows";
        EXPECT_EQ(rowsCompleted, 3 + n) << n << " rows";
        EXPECT_EQ(sounds(), Log{soundCall(FULL_ROW_SOUND)}) << n << " rows";
        // What stays of the line is the part above the removed rows, moved down to the floor.
        for (int row = 1; row <= 20; row++) {
            EXPECT_EQ(board[5][row], row > 16 + n ? 6 : 0) << n << " rows, row " << row;
        }
    }
    // Rows apart go in one landing too: the old row 19 becomes the bottom row.
    fake::ui.values[PANEL_SCORE] = 0;
    std::memset(board, 0, sizeof board);
    board[1][19] = 4;
    fillRow(18, 5);
    fillRow(20, 5);
    fallingPiece(Piece{0, 5, 18, 0, 6});
    tick();
    EXPECT_EQ(fake::ui.values[PANEL_SCORE], 40);
    for (int c = 1; c <= 10; c++) {
        EXPECT_EQ(board[c][20], c == 1 ? 4 : c == 5 ? 6 : 0) << c;
        EXPECT_EQ(board[c][19], c == 5 ? 6 : 0) << c;
        EXPECT_EQ(board[c][18], 0) << c;
    }
}

TEST_F(FallTest, RemovingARowRepaintsEveryCellAboveItAndEmptiesRowOne) {
    board[3][4] = 5;
    board[7][1] = 3;
    board[4][0] = 2; // the hidden row stays where it is
    ClearRow(7);
    EXPECT_EQ(hides(), 70u);
    EXPECT_EQ(boardPlots(), (CellPlots{{{3, 5}, colourBitmaps[5]}, {{7, 2}, colourBitmaps[3]}}));
    EXPECT_EQ(board[4][0], 2);
    for (int c = 1; c <= 10; c++) {
        EXPECT_EQ(board[c][1], 0);
    }
}

TEST_F(FallTest, AScoreThatPassesTheRecordIsWrittenAndShownBeforeTheSound) {
    highScore = 5;
    panelHeight = 700;
    panelWidth = 400;
    landLineOverFullRowsFrom(20);
    EXPECT_EQ(highScore, 10);
    EXPECT_EQ(readRecordsFile(), "700\n400\n10\n9999.000000\n");
    int shown = fake::find("ResetTextBox(1, 13, 10)");
    ASSERT_GE(shown, 0);
    EXPECT_LT(shown, fake::find(soundCall(FULL_ROW_SOUND)));
    // A later landing that only equals the record leaves the record and the file alone.
    highScore = 20;
    landLineOverFullRowsFrom(20);
    EXPECT_EQ(fake::ui.values[PANEL_SCORE], 20);
    EXPECT_EQ(readRecordsFile(), "700\n400\n10\n9999.000000\n");
    EXPECT_TRUE(calls("ResetTextBox").empty());
}

TEST_F(FallTest, TheSpeedIsShownFromTheTenthRowOn) {
    gameStartTime = time(NULL) - 50;
    rowsCompleted = 8;
    landLineOverFullRowsFrom(20);
    EXPECT_TRUE(calls("SetCtrlVal(1, 3,").empty());
    EXPECT_NEAR(currentSpeed, 50.0 / 9, 0.2);
    landLineOverFullRowsFrom(20);
    EXPECT_NEAR(fake::ui.values[PANEL_SPEED], 5.0, 0.11);
    EXPECT_EQ(fake::ui.values[PANEL_SPEED], static_cast<double>(currentSpeed));
}

TEST_F(FallTest, EveryLandingSetsTheIntervalByTheRowsCompleted) {
    // Rows completed before, the first full row (21: none), the interval after the landing.
    const std::tuple<int, int, double> cases[] = {{0, 21, 0.4},   {20, 21, 0.38}, {100, 21, 0.3},
                                                  {200, 21, 0.2}, {19, 20, 0.38}, {99, 20, 0.3}};
    for (const auto &[rowsBefore, firstFullRow, interval] : cases) {
        rowsCompleted = rowsBefore;
        landLineOverFullRowsFrom(firstFullRow);
        EXPECT_NEAR(timerInterval, interval, 1e-12) << rowsBefore;
        EXPECT_NEAR(fake::attribute(PANEL_TIMER, ATTR_INTERVAL), interval, 1e-12);
        if (firstFullRow == 21) { // nothing else changes
            EXPECT_EQ(rowsCompleted, rowsBefore);
            EXPECT_TRUE(sounds().empty() && calls("SetCtrlVal").empty());
        }
    }
}
