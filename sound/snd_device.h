// The sound device behind sndPlaySoundA on platforms without one of their own: one sound at a
// time, the newest replacing the one playing.
#pragma once

bool soundOpen();                                 // the output, opened on first need; false: none
bool soundStart(const char *fileName, bool loop); // null: the alert tone; false: cannot be played
bool soundBusy();                                 // a sound is still to be heard
void soundStop();
void soundWait(); // returns once the sound playing has been heard to its end
