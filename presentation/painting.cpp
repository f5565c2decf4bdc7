// Board cells as bitmap plots on the board graph: one plot per occupied cell.
#include "painting.h"
#include "game_state.h"
#include "install_check.h"
#include "stakko.h"

int cellPlots[BOARD_COLUMNS][BOARD_ROWS];
const double cellSize = 10.0;

int getColor(int colour) {
    if (colour >= 1 && colour <= 6) {
        return colourBitmaps[colour];
    }
    return colourBitmaps[0];
}

void PaintSquare(int column, int row, int colour) {
    int x = 10 - column;
    int y = 20 - row;
    SetCtrlAttribute(panelHandle, PANEL_BOARD, ATTR_VISIBLE, 0);
    int bitmap = getColor(colour);
    int &plot = cellPlots[x][y];
    if (plot >= 1) {
        DeleteGraphPlot(panelHandle, PANEL_BOARD, plot, 1);
        plot = 0;
    }
    // The blank image is never drawn on the board: it means an empty cell.
    if (bitmap != colourBitmaps[0]) {
        int handle = PlotBitmap(panelHandle, PANEL_BOARD, cellSize * x, cellSize * y, cellSize,
                                cellSize, nullptr);
        if (handle >= 1) {
            SetCtrlBitmap(panelHandle, PANEL_BOARD, handle, bitmap);
            plot = handle;
        }
    }
    SetCtrlAttribute(panelHandle, PANEL_BOARD, ATTR_VISIBLE, 1);
}

void PaintPiece(Piece piece, int paint) {
    int colour = paint != 0 ? piece.colour : 0;
    const int *offsets = pieceOffsets(piece);
    PaintSquare(piece.column, piece.row, colour);
    for (int i = 0; i < 3; i++) {
        PaintSquare(piece.column + offsets[i], piece.row + offsets[3 + i], colour);
    }
}
