// The preview of the next piece, redrawn whole each time a new next piece is chosen.
#include "preview.h"
#include "board.h"
#include "game_state.h"
#include "install_check.h"
#include "painting.h"
#include "stakko.h"

void PaintNextSquare(int columnOffset, int rowOffset, int colour) {
    int x = 2 - columnOffset;
    int y = 2 - rowOffset;
    SetCtrlAttribute(panelHandle, PANEL_NEXT, ATTR_VISIBLE, 0);
    int bitmap = getColor(colour);
    if (bitmap == colourBitmaps[0]) {
        MessagePopup("Strange", "Should not happen.");
    }
    int plot = PlotBitmap(panelHandle, PANEL_NEXT, cellSize * x, cellSize * y, cellSize, cellSize,
                          nullptr);
    SetCtrlBitmap(panelHandle, PANEL_NEXT, plot, bitmap);
    SetCtrlAttribute(panelHandle, PANEL_NEXT, ATTR_VISIBLE, 1);
}

void DisplayNextPiece(void) {
    DeleteGraphPlot(panelHandle, PANEL_NEXT, -1, 1);
    const int *offsets = pieceOffsets(nextPiece);
    PaintNextSquare(0, 0, nextPiece.colour);
    for (int i = 0; i < 3; i++) {
        PaintNextSquare(offsets[i], offsets[3 + i], nextPiece.colour);
    }
}
