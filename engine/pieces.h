// Piece supply, game over and the random generator.
#pragma once

extern int scoreRecordAtStart;

void setNextPiece(void);
void NewPiece(void);
double Random(double minimum, double maximum);
void SetRandomSeed(int seed);
