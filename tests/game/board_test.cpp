// The board: whether a piece fits, the shapes of the seven pieces and fixing a landed piece.
#include "game_fixture.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "board.h"

namespace {

using BoardTest = GameTest;
using Cells = std::set<std::pair<int, int>>;

Cells cellsOf(const Piece &piece) {
    std::vector<std::pair<int, int>> cells = GameTest::pieceCells(piece);
    return Cells(cells.begin(), cells.end());
}

// A form moved so that its lowest column and row are 0, to compare forms wherever they stand.
Cells normalised(const Cells &cells) {
    int minColumn = 100, minRow = 100;
    for (const auto &[c, r] : cells) {
        minColumn = std::min(minColumn, c);
        minRow = std::min(minRow, r);
    }
    Cells moved;
    for (const auto &[c, r] : cells) {
        moved.insert({c - minColumn, r - minRow});
    }
    return moved;
}

Cells quarterTurn(const Cells &cells) {
    Cells turned;
    for (const auto &[c, r] : cells) {
        turned.insert({-r, c});
    }
    return turned;
}

struct FitCase {
    const char *what;
    Piece piece;
    int blockedColumn, blockedRow; // a fixed cell on the board, 0 for none
    int expected;
};

TEST_F(BoardTest, CollisionAtTheWallsTheFloorAndTheHiddenRow) {
    const FitCase cases[] = {
        {"line lying at column 2 reaches column 1", {0, 2, 10, 1, 1}, 0, 0, 0},
        {"line lying at column 1 reaches column 0", {0, 1, 10, 1, 1}, 0, 0, 1},
        {"line lying at column 8 reaches column 10", {0, 8, 10, 1, 1}, 0, 0, 0},
        {"line lying at column 9 reaches column 11", {0, 9, 10, 1, 1}, 0, 0, 1},
        {"line upright at row 18 reaches row 20", {0, 5, 18, 0, 1}, 0, 0, 0},
        {"line upright at row 19 reaches row 21", {0, 5, 19, 0, 1}, 0, 0, 1},
        {"square at row 20 reaches row 21", {3, 5, 20, 0, 1}, 0, 0, 1},
        {"line upright at row 1 fits with row 0 empty", {0, 5, 1, 0, 1}, 0, 0, 0},
        {"line upright at row 1 meets a cell fixed in row 0", {0, 5, 1, 0, 1}, 5, 0, 1},
        {"pivot cell occupied, other cells empty", {0, 5, 5, 0, 1}, 5, 5, 1},
        {"last table cell occupied", {0, 5, 5, 0, 1}, 5, 7, 1},
        {"a cell beside the piece changes nothing", {0, 5, 5, 0, 1}, 6, 5, 0},
    };
    for (const FitCase &test : cases) {
        std::memset(board, 0, sizeof board);
        if (test.blockedColumn != 0 || test.blockedRow != 0) {
            board[test.blockedColumn][test.blockedRow] = 4;
        }
        EXPECT_EQ(CheckCollision(test.piece), test.expected) << test.what;
    }
}

TEST_F(BoardTest, EveryShapeHasItsFormInRotationZero) {
    // Cells beside a pivot at (0, 0), as column and row offsets; row -1 is above the pivot.
    const Cells forms[7] = {
        {{0, 0}, {0, -1}, {0, 1}, {0, 2}},  // four in a line
        {{0, 0}, {0, -1}, {0, 1}, {1, 1}},  // upright three, the fourth toward column 10
        {{0, 0}, {1, 0}, {0, 1}, {-1, 1}},  // two offset pairs
        {{0, 0}, {0, 1}, {1, 0}, {1, 1}},   // the square
        {{0, 0}, {-1, 0}, {0, 1}, {1, 1}},  // the mirrored offset pairs
        {{0, 0}, {-1, 0}, {0, -1}, {1, 0}}, // three in a line, one above the middle
        {{0, 0}, {0, -1}, {0, 1}, {-1, 1}}, // upright three, the fourth toward column 1
    };
    for (int shape = 0; shape < 7; shape++) {
        EXPECT_EQ(cellsOf(Piece{shape, 0, 0, 0, 1}), forms[shape]) << "shape " << shape;
    }
}

TEST_F(BoardTest, EveryTurnIsAQuarterTurnOfTheSameForm) {
    for (int shape = 0; shape < 7; shape++) {
        for (int rotation = 0; rotation < 4; rotation++) {
            Cells here = cellsOf(Piece{shape, 0, 0, rotation, 1});
            Cells next = cellsOf(Piece{shape, 0, 0, (rotation + 1) % 4, 1});
            EXPECT_EQ(here.size(), 4u) << shape << "/" << rotation;
            EXPECT_EQ(normalised(quarterTurn(here)), normalised(next)) << shape << "/" << rotation;
        }
    }
}

TEST_F(BoardTest, SymmetricShapesRepeatTheirRotations) {
    auto cellsAt = [](int shape, int rotation) { return cellsOf(Piece{shape, 5, 5, rotation, 1}); };
    for (int rotation = 1; rotation < 4; rotation++) {
        EXPECT_EQ(cellsAt(3, rotation), cellsAt(3, 0)) << "square, rotation " << rotation;
    }
    for (int shape : {0, 2, 4}) {
        EXPECT_EQ(cellsAt(shape, 2), cellsAt(shape, 0)) << "shape " << shape;
        EXPECT_EQ(cellsAt(shape, 3), cellsAt(shape, 1)) << "shape " << shape;
        EXPECT_NE(cellsAt(shape, 1), cellsAt(shape, 0)) << "shape " << shape;
    }
}

TEST_F(BoardTest, EveryShapeFitsAtTheEntryPlaceOfAnEmptyBoard) {
    for (int shape = 0; shape < 7; shape++) {
        for (int rotation = 0; rotation < 4; rotation++) {
            EXPECT_EQ(CheckCollision(Piece{shape, 5, 1, rotation, 1}), 0)
                << shape << "/" << rotation;
        }
        for (const auto &[c, r] : cellsOf(Piece{shape, 5, 1, 0, 1})) {
            EXPECT_TRUE(c >= 4 && c <= 6 && r >= 0 && r <= 3) << "shape " << shape;
        }
    }
}

TEST_F(BoardTest, AddArrayWritesExactlyTheFourCells) {
    for (int shape = 0; shape < 7; shape++) {
        for (int rotation = 0; rotation < 4; rotation++) {
            for (int c = 0; c < BOARD_COLUMNS; c++) {
                for (int r = 0; r < BOARD_ROWS; r++) {
                    board[c][r] = (c + r) % 2 == 0 ? 0 : 9; // a pattern the piece must keep
                }
            }
            Piece piece{shape, 5, 10, rotation, 6};
            Cells covered = cellsOf(piece);
            AddArray(piece);
            for (int c = 0; c < BOARD_COLUMNS; c++) {
                for (int r = 0; r < BOARD_ROWS; r++) {
                    int expected = covered.count({c, r}) ? 6 : (c + r) % 2 == 0 ? 0 : 9;
                    ASSERT_EQ(board[c][r], expected) << shape << "/" << rotation;
                }
            }
        }
    }
}

} // namespace
