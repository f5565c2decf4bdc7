// The next-piece preview.
#pragma once

void DisplayNextPiece(void);
void PaintNextSquare(int columnOffset, int rowOffset, int colour);
