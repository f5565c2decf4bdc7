// The records file "_KIVOSTAKKOGAME.CFG" and the record displays.
#pragma once

extern int panelHeight;
extern int panelWidth;
extern int highScore;
extern float highSpeed;

extern const char *const recordsFileName;

void readCFGFile(void);
void writeCFGFile(void);
void displayHighScore(void);
void displayHighSpeed(void);
