// The board, the two piece globals, the shape table, and the fit and fix operations.
#include "board.h"

int board[BOARD_COLUMNS][BOARD_ROWS];
Piece currentPiece;
Piece nextPiece;

// Per (shape, rotation): column offsets of the three cells beside the pivot, then row offsets.
// clang-format off
const int shapeOffsets[7 * 4 * 6] = {
     0,  0,  0, -1,  1,  2,  // shape 0, rotation 0
    -1,  1,  2,  0,  0,  0,  // shape 0, rotation 1
     0,  0,  0, -1,  1,  2,  // shape 0, rotation 2
    -1,  1,  2,  0,  0,  0,  // shape 0, rotation 3
     0,  0,  1, -1,  1,  1,  // shape 1, rotation 0
    -1,  1, -1,  0,  0,  1,  // shape 1, rotation 1
    -1,  0,  0, -1, -1,  1,  // shape 1, rotation 2
    -1,  1,  1,  0, -1,  0,  // shape 1, rotation 3
     1,  0, -1,  0,  1,  1,  // shape 2, rotation 0
    -1, -1,  0, -1,  0,  1,  // shape 2, rotation 1
     1,  0, -1,  0,  1,  1,  // shape 2, rotation 2
    -1, -1,  0, -1,  0,  1,  // shape 2, rotation 3
     0,  1,  1,  1,  0,  1,  // shape 3, rotation 0
     0,  1,  1,  1,  0,  1,  // shape 3, rotation 1
     0,  1,  1,  1,  0,  1,  // shape 3, rotation 2
     0,  1,  1,  1,  0,  1,  // shape 3, rotation 3
    -1,  0,  1,  0,  1,  1,  // shape 4, rotation 0
     0,  1,  1,  1,  0, -1,  // shape 4, rotation 1
    -1,  0,  1,  0,  1,  1,  // shape 4, rotation 2
     0,  1,  1,  1,  0, -1,  // shape 4, rotation 3
    -1,  0,  1,  0, -1,  0,  // shape 5, rotation 0
     0,  0,  1, -1,  1,  0,  // shape 5, rotation 1
    -1,  0,  1,  0,  1,  0,  // shape 5, rotation 2
    -1,  0,  0,  0, -1,  1,  // shape 5, rotation 3
     0,  0, -1, -1,  1,  1,  // shape 6, rotation 0
    -1, -1,  1, -1,  0,  0,  // shape 6, rotation 1
     0,  0,  1, -1,  1, -1,  // shape 6, rotation 2
    -1,  1,  1,  0,  0,  1,  // shape 6, rotation 3
};
// clang-format on

int CheckCollision(Piece piece) {
    const int *offsets = pieceOffsets(piece);
    // Every bound first: the pivot lies within its cells' bounds, so once they hold no cell
    // outside the field and the hidden row is ever read.
    for (int i = 0; i < 3; i++) {
        int c = piece.column + offsets[i];
        int r = piece.row + offsets[3 + i];
        if (c > 10 || c < 1 || r > 20) {
            return 1;
        }
    }
    if (board[piece.column][piece.row] > 0) {
        return 1;
    }
    for (int i = 0; i < 3; i++) {
        if (board[piece.column + offsets[i]][piece.row + offsets[3 + i]] > 0) {
            return 1;
        }
    }
    return 0;
}

void AddArray(Piece piece) {
    const int *offsets = pieceOffsets(piece);
    board[piece.column][piece.row] = piece.colour;
    for (int i = 0; i < 3; i++) {
        board[piece.column + offsets[i]][piece.row + offsets[3 + i]] = piece.colour;
    }
}
