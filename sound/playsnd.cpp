// The sound module: flag rules over the platform's sndPlaySoundA.
#include "playsnd.h"

short CVI_PlaySound(const char *fileName, short asynchronous) {
    return static_cast<short>(sndPlaySoundA(fileName, asynchronous != 0 ? SND_ASYNC : SND_SYNC));
}

short CVI_PlaySoundEx(const char *fileName, short asynchronous, short looped, short playDefault,
                      short stopCurrent) {
    unsigned int flags = SND_SYNC;
    if (looped != 0) {
        flags = SND_LOOP | SND_ASYNC; // a loop never ends, so it cannot be waited for
    } else if (asynchronous != 0) {
        flags = SND_ASYNC;
    }
    if (playDefault == 0) {
        flags |= SND_NODEFAULT;
    }
    if (stopCurrent == 0) {
        flags |= SND_NOSTOP;
    }
    return static_cast<short>(sndPlaySoundA(fileName, flags));
}

void StopCurrentSound(void) {
    sndPlaySoundA(nullptr, 0);
}
