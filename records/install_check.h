// The check that every installed file is in place; it also loads the cell images.
#pragma once

// Bitmap ids indexed by colour code; entry 0 is the blank image.
extern int colourBitmaps[7];

int checkFileIntegrity(void); // 1 when every file is present, 0 after the message
int FileExists(const char *pathName, int *sizeOut);
