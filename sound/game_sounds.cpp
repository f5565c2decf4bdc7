// The game's sound events: played to their end, silent for a missing file, muted by soundOn.
#include "game_sounds.h"
#include "playsnd.h"

int soundOn = 1;

void playGameSound(const char *fileName) {
    if (soundOn == 1) {
        CVI_PlaySoundEx(fileName, 0, 0, 0, 1);
    }
}
