// Board cells shown as colour bitmaps on the board graph.
#pragma once

#include "board.h"

// Plot handle of each board cell, indexed [10 - column][20 - row]; 0 for none.
extern int cellPlots[BOARD_COLUMNS][BOARD_ROWS];
extern const double cellSize;

int getColor(int colour);
void PaintSquare(int column, int row, int colour);
void PaintPiece(Piece piece, int paint);
