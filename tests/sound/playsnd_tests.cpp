// The sound module's flag rules, against a recording sndPlaySoundA linked in place of the
// platform's; a synchronous sound first shows what is pending on screen.
#include "playsnd.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string calls; // each call as "name:flags ", "null" for no name, "draw " for the screen

} // namespace

int sndPlaySoundA(const char *fileName, unsigned int flags) {
    calls += std::string(fileName ? fileName : "null") + ":" + std::to_string(flags) + " ";
    return 7;
}

int ProcessDrawEvents(void) {
    calls += "draw ";
    return 0;
}

namespace {

// Each argument counts when it is nonzero, whatever its value; a loop is always asynchronous.
TEST(PlaySnd, FlagsFromEachArgumentAndTheScreenDrawnBeforeWaiting) {
    const struct {
        short asynchronous, looped, playDefault, stopCurrent;
        const char *calls;
    } cases[] = {
        {0, 0, 1, 1, "draw a:0 "}, {1, 0, 1, 1, "a:1 "},       {0, 0, 0, 1, "draw a:2 "},
        {1, 0, 1, 0, "a:17 "},     {0, 1, 0, 0, "a:27 "},      {0, 1, 1, 1, "a:9 "},
        {1, 1, 0, 1, "a:11 "},     {-1, 0, 1, 1, "a:1 "},      {0, 0, -3, 256, "draw a:0 "},
        {0, -1, 2, 0, "a:25 "},    {0, 0, 0, 0, "draw a:18 "},
    };
    for (const auto &c : cases) {
        calls.clear();
        EXPECT_EQ(CVI_PlaySoundEx("a", c.asynchronous, c.looped, c.playDefault, c.stopCurrent), 7);
        EXPECT_EQ(calls, c.calls) << "case " << &c - cases;
    }
    calls.clear();
    EXPECT_EQ(CVI_PlaySound("b", 0), 7);
    CVI_PlaySound("b", 2);
    StopCurrentSound();
    EXPECT_EQ(calls, "draw b:0 b:1 null:0 ");
}

} // namespace
