// The board of fixed cells, the piece record and the shape table.
#pragma once

struct Piece {
    int shape;    // 0..6, row of the shape table
    int column;   // 1..10, column of the pivot cell
    int row;      // 1..20, row of the pivot cell
    int rotation; // 0..3
    int colour;   // 1..6
};

enum { BOARD_COLUMNS = 11, BOARD_ROWS = 22 };

// Indexed by column, then row; row 0 is the hidden row above the field.
extern int board[BOARD_COLUMNS][BOARD_ROWS];
extern Piece currentPiece;
extern Piece nextPiece;
// 7 shapes x 4 rotations x (3 column offsets, 3 row offsets).
extern const int shapeOffsets[7 * 4 * 6];

// Where the offsets of (shape, rotation) start in shapeOffsets.
inline const int *pieceOffsets(const Piece &piece) {
    return &shapeOffsets[(piece.shape * 4 + piece.rotation) * 6];
}

int CheckCollision(Piece piece); // 1 when the piece does not fit, 0 when it fits
void AddArray(Piece piece);
