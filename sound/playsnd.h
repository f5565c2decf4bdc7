// The sound module: thin operations over the platform's sndPlaySoundA.
#pragma once

enum {
    SND_SYNC = 0x0000,
    SND_ASYNC = 0x0001,
    SND_NODEFAULT = 0x0002,
    SND_LOOP = 0x0008,
    SND_NOSTOP = 0x0010,
};

short CVI_PlaySound(const char *fileName, short asynchronous);
short CVI_PlaySoundEx(const char *fileName, short asynchronous, short looped, short playDefault,
                      short stopCurrent);
void StopCurrentSound(void);

// The platform call: plays a WAV file as the flags say, or stops the current sound when the
// name is null. Nonzero when the sound was played.
int sndPlaySoundA(const char *fileName, unsigned int flags);
