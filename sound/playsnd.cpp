// The sound module: flag rules over the platform's sndPlaySoundA.
#include "playsnd.h"
#include "userint.h"

// A synchronous sound holds the event loop, where the screen is painted: show what was changed
// before the sound first, so that the player sees what the sound announces while hearing it.
static short play(const char *fileName, unsigned int flags) {
    if ((flags & (SND_ASYNC | SND_LOOP)) == 0) {
        ProcessDrawEvents();
    }
    return static_cast<short>(sndPlaySoundA(fileName, flags));
}

short CVI_PlaySound(const char *fileName, short asynchronous) {
    return play(fileName, asynchronous != 0 ? SND_ASYNC : SND_SYNC);
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
    return play(fileName, flags);
}

void StopCurrentSound(void) {
    sndPlaySoundA(nullptr, 0);
}
