// sndPlaySoundA's rules over the sound device: what each flag means, what a failure gives.
#include "playsnd.h"
#include "snd_device.h"

int sndPlaySoundA(const char *fileName, unsigned int flags) {
    if (fileName == nullptr) {
        soundStop(); // stopping nothing succeeds too
        return 1;
    }
    // No device: silent and at once, so that the game never stalls.
    if (!soundOpen() || ((flags & SND_NOSTOP) != 0 && soundBusy())) {
        return 0;
    }
    const bool played = soundStart(fileName, (flags & SND_LOOP) != 0);
    if (!played && (flags & SND_NODEFAULT) == 0) {
        soundStart(nullptr, false); // the alert tone stands in for a file that cannot be played
    }
    if ((flags & (SND_ASYNC | SND_LOOP)) == 0) {
        soundWait();
    }
    return played ? 1 : 0;
}
