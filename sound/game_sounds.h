// The game's sound events and the mute flag.
#pragma once

#include "installed_files.h"

extern int soundOn; // 1: game sounds play, 0: muted

// Plays one of the game's sounds to its end, unless sound is off.
void playGameSound(const char *fileName);
