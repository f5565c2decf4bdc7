#include "fake_snd_play.h"
#include "playsnd.h"

std::vector<SndCall> sndCalls;
int sndReply = 1;

int sndPlaySoundA(const char *fileName, unsigned int flags) {
    sndCalls.push_back({fileName != nullptr, fileName != nullptr ? fileName : "", flags});
    return sndReply;
}
