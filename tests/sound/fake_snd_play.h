// A recording stand-in for the platform's sndPlaySoundA, linked in place of the SDL back end.
#pragma once

#include <string>
#include <vector>

struct SndCall {
    bool hasName;
    std::string name;
    unsigned int flags;
};

extern std::vector<SndCall> sndCalls; // every call, in order
extern int sndReply;                  // what the next calls return
