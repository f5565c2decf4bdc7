// The flag rules of the sound module, checked against a recording sndPlaySoundA that is linked
// in place of the SDL back end.
#include "playsnd.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string calls; // each call as "name:flags ", "null" for no name
int reply = 1;     // what the calls return

} // namespace

int sndPlaySoundA(const char *fileName, unsigned int flags) {
    calls += std::string(fileName ? fileName : "null") + ":" + std::to_string(flags) + " ";
    return reply;
}

int ProcessDrawEvents(void) {
    return 0;
}

namespace {

// Each argument counts when it is nonzero, whatever its value; a loop is always asynchronous.
TEST(PlaySnd, PlaySoundExFlagsFromEachArgument) {
    const struct {
        short asynchronous, looped, playDefault, stopCurrent;
        unsigned flags;
    } cases[] = {
        {0, 0, 1, 1, 0x00},  {1, 0, 1, 1, 0x01},   {0, 0, 0, 1, 0x02},  {1, 0, 1, 0, 0x11},
        {0, 1, 0, 0, 0x1B},  {0, 1, 1, 1, 0x09},   {1, 0, 0, 0, 0x13},  {1, 1, 0, 1, 0x0B},
        {-1, 0, 1, 1, 0x01}, {0, 7, 1, 1, 0x09},   {0, 0, -3, 1, 0x00}, {0, 0, 1, 256, 0x00},
        {0, -1, 2, 0, 0x19}, {256, 0, 1, 1, 0x01},
    };
    for (const auto &c : cases) {
        calls.clear();
        EXPECT_EQ(CVI_PlaySoundEx("a.wav", c.asynchronous, c.looped, c.playDefault, c.stopCurrent),
                  1);
        EXPECT_EQ(calls, "a.wav:" + std::to_string(c.flags) + " ") << "case " << &c - cases;
    }
}

TEST(PlaySnd, PlaySoundStopAndTheResultNarrowedToShort) {
    calls.clear();
    for (short asynchronous : {0, 1, -1, 0x100}) // synchronous only for zero
        CVI_PlaySound("WAVs/b.wav", asynchronous);
    StopCurrentSound();
    CVI_PlaySoundEx(nullptr, 1, 0, 0, 1);
    EXPECT_EQ(calls, "WAVs/b.wav:0 WAVs/b.wav:1 WAVs/b.wav:1 WAVs/b.wav:1 null:0 null:3 ");
    const std::pair<int, short> replies[] = {
        {0, 0}, {1, 1}, {-1, -1}, {32767, 32767}, {0x10000, 0}, {0x12345, 0x2345}, {70000, 4464}};
    for (const auto &[platform, expected] : replies) {
        reply = platform;
        EXPECT_EQ(CVI_PlaySound("c.wav", 0), expected) << platform;
        EXPECT_EQ(CVI_PlaySoundEx("c.wav", 1, 0, 1, 1), expected) << platform;
    }
    reply = 1;
}

} // namespace
