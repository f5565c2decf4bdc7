// The board: whether a piece fits, the shapes of the seven pieces and fixing a landed piece.
#include "game_fixture.h"

using BoardTest = GameTest;

// The form moved so that its lowest column and row are 0, turned a quarter first if asked.
static Cells form(const Cells &cells, bool turned = false) {
    Cells placed, moved;
    int minRow = 100;
    for (const auto &[c, r] : cells) {
        placed.insert(turned ? std::pair{-r, c} : std::pair{c, r});
        minRow = std::min(minRow, turned ? c : r);
    }
    for (const auto &[c, r] : placed) {
        moved.insert({c - placed.begin()->first, r - minRow});
    }
    return moved;
}

TEST_F(BoardTest, CollisionAtTheWallsTheFloorAndTheHiddenRow) {
    // What, the piece, a fixed cell on the board (column 0: none), whether the piece collides.
    const std::tuple<const char *, Piece, int, int, int> cases[] = {
        {"line lying at column 2 reaches column 1", {0, 2, 10, 1, 1}, 0, 0, 0},
        {"line lying at column 1 reaches column 0", {0, 1, 10, 1, 1}, 0, 0, 1},
        {"line lying at column 8 reaches column 10", {0, 8, 10, 1, 1}, 0, 0, 0},
        {"line lying at column 9 reaches column 11", {0, 9, 10, 1, 1}, 0, 0, 1},
        {"line upright at row 18 reaches row 20", {0, 5, 18, 0, 1}, 0, 0, 0},
        {"line upright at row 19 reaches row 21", {0, 5, 19, 0, 1}, 0, 0, 1},
        {"line upright at row 1 fits with row 0 empty", {0, 5, 1, 0, 1}, 0, 0, 0},
        {"line upright at row 1 meets a cell fixed in row 0", {0, 5, 1, 0, 1}, 5, 0, 1},
        {"pivot cell occupied, other cells empty", {0, 5, 5, 0, 1}, 5, 5, 1},
        {"last table cell occupied", {0, 5, 5, 0, 1}, 5, 7, 1},
        {"a cell beside the piece changes nothing", {0, 5, 5, 0, 1}, 6, 5, 0},
    };
    for (const auto &[what, piece, column, row, expected] : cases) {
        std::memset(board, 0, sizeof board);
        board[column][row] = column ? 4 : 0;
        EXPECT_EQ(CheckCollision(piece), expected) << what;
    }
}

TEST_F(BoardTest, EveryShapeHasItsFormAndTurnsByQuarters) {
    // Rotation 0 around a pivot at (0, 0), as column and row offsets; row -1 is above the pivot.
    const Cells forms[7] = {
        {{0, 0}, {0, -1}, {0, 1}, {0, 2}},  // four in a line
        {{0, 0}, {0, -1}, {0, 1}, {1, 1}},  // upright three, the fourth toward column 10
        {{0, 0}, {1, 0}, {0, 1}, {-1, 1}},  // two offset pairs
        {{0, 0}, {0, 1}, {1, 0}, {1, 1}},   // the square
        {{0, 0}, {-1, 0}, {0, 1}, {1, 1}},  // the mirrored offset pairs
        {{0, 0}, {-1, 0}, {0, -1}, {1, 0}}, // three in a line, one above the middle
        {{0, 0}, {0, -1}, {0, 1}, {-1, 1}}, // upright three, the fourth toward column 1
    };
    auto at = [](int shape, int rotation) { return pieceCells(Piece{shape, 0, 0, rotation, 1}); };
    for (int shape = 0; shape < 7; shape++) {
        EXPECT_EQ(at(shape, 0), forms[shape]) << "shape " << shape;
        for (int rotation = 0; rotation < 4; rotation++) {
            Cells here = at(shape, rotation);
            EXPECT_EQ(here.size(), 4u) << shape << "/" << rotation;
            EXPECT_EQ(form(here, true), form(at(shape, (rotation + 1) % 4)))
                << shape << "/" << rotation;
            // Turned at the entry row, no cell reaches above the hidden row.
            for (const auto &cell : here) {
                EXPECT_GE(cell.second, -1) << shape << "/" << rotation;
            }
        }
    }
    // Symmetric shapes turn on the same cells: the square always, lines and pairs every half.
    for (int rotation = 1; rotation < 4; rotation++) {
        EXPECT_EQ(at(3, rotation), at(3, 0)) << "square, rotation " << rotation;
    }
    for (int shape : {0, 2, 4}) {
        EXPECT_EQ(at(shape, 2), at(shape, 0)) << "shape " << shape;
        EXPECT_EQ(at(shape, 3), at(shape, 1)) << "shape " << shape;
    }
}

TEST_F(BoardTest, AddArrayWritesExactlyTheFourCells) {
    for (int shape = 0; shape < 7; shape++) {
        for (int rotation = 0; rotation < 4; rotation++) {
            std::fill(&board[0][0], &board[0][0] + sizeof board / sizeof(int), 9);
            const Piece piece{shape, 5, 10, rotation, 6};
            AddArray(piece);
            Cells changed;
            for (int c = 0; c < BOARD_COLUMNS; c++) {
                for (int r = 0; r < BOARD_ROWS; r++) {
                    if (board[c][r] != 9) {
                        changed.insert({c, r});
                        EXPECT_EQ(board[c][r], 6);
                    }
                }
            }
            EXPECT_EQ(changed, pieceCells(piece)) << shape << "/" << rotation;
        }
    }
}
