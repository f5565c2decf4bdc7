// The game's sounds through winmm's own sndPlaySoundA. The game declares it with C++ linkage,
// so this forwards to the C function under the same name.
#include "playsnd.h"

extern "C" int __stdcall winmmSndPlaySound(const char *, unsigned int) __asm__("sndPlaySoundA");

int sndPlaySoundA(const char *fileName, unsigned int flags) {
    return winmmSndPlaySound(fileName, flags);
}
