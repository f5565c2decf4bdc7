// The flag rules of the sound module, checked against a recording sndPlaySoundA.
#include "fake_snd_play.h"
#include "playsnd.h"

#include <gtest/gtest.h>

namespace {

class PlaySnd : public ::testing::Test {
  protected:
    void SetUp() override {
        sndCalls.clear();
        sndReply = 1;
    }
};

struct ExCase {
    short asynchronous, looped, playDefault, stopCurrent;
    unsigned int flags;
};

TEST_F(PlaySnd, PlaySoundExBuildsFlagsFromEachArgument) {
    const ExCase cases[] = {
        {0, 0, 1, 1, 0x00}, {1, 0, 1, 1, 0x01},  {0, 0, 0, 1, 0x02},   {1, 0, 1, 0, 0x11},
        {0, 1, 0, 0, 0x1B}, {0, 1, 1, 1, 0x09},  {1, 1, 1, 1, 0x09},   {1, 0, 0, 0, 0x13},
        {0, 0, 0, 0, 0x12}, {0, 0, 1, 0, 0x10},  {1, 1, 0, 1, 0x0B},   {-1, 0, 1, 1, 0x01},
        {0, 7, 1, 1, 0x09}, {0, 0, -3, 1, 0x00}, {0, 0, 1, 256, 0x00}, {0, -1, 2, 0, 0x19},
    };
    for (const ExCase &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "async " << c.asynchronous << " loop " << c.looped << " default "
                     << c.playDefault << " stop " << c.stopCurrent);
        sndCalls.clear();
        EXPECT_EQ(CVI_PlaySoundEx("a.wav", c.asynchronous, c.looped, c.playDefault, c.stopCurrent),
                  1);
        ASSERT_EQ(sndCalls.size(), 1u);
        EXPECT_EQ(sndCalls[0].name, "a.wav");
        EXPECT_EQ(sndCalls[0].flags, c.flags);
    }
}

TEST_F(PlaySnd, PlaySoundIsSynchronousOnlyForZero) {
    const struct {
        short asynchronous;
        unsigned int flags;
    } cases[] = {
        {0, SND_SYNC}, {1, SND_ASYNC}, {-1, SND_ASYNC}, {2, SND_ASYNC}, {0x100, SND_ASYNC}};
    for (const auto &c : cases) {
        sndCalls.clear();
        EXPECT_EQ(CVI_PlaySound("WAVs/b.wav", c.asynchronous), 1);
        ASSERT_EQ(sndCalls.size(), 1u);
        EXPECT_EQ(sndCalls[0].name, "WAVs/b.wav");
        EXPECT_EQ(sndCalls[0].flags, c.flags) << "asynchronous " << c.asynchronous;
    }
}

TEST_F(PlaySnd, ReturnValueIsPassedThroughAsShort) {
    const struct {
        int reply;
        short expected;
    } cases[] = {{0, 0},       {1, 1}, {-1, -1}, {32767, 32767}, {0x10000, 0}, {0x12345, 0x2345},
                 {70000, 4464}};
    for (const auto &c : cases) {
        sndReply = c.reply;
        EXPECT_EQ(CVI_PlaySound("c.wav", 0), c.expected) << "reply " << c.reply;
        EXPECT_EQ(CVI_PlaySoundEx("c.wav", 1, 0, 1, 1), c.expected) << "reply " << c.reply;
    }
}

TEST_F(PlaySnd, StopCurrentSoundSendsANullNameAndNoFlags) {
    sndReply = 0;
    StopCurrentSound();
    ASSERT_EQ(sndCalls.size(), 1u);
    EXPECT_FALSE(sndCalls[0].hasName);
    EXPECT_EQ(sndCalls[0].flags, 0u);
}

TEST_F(PlaySnd, NullNameIsHandedOnUnchanged) {
    CVI_PlaySoundEx(nullptr, 1, 0, 0, 1);
    ASSERT_EQ(sndCalls.size(), 1u);
    EXPECT_FALSE(sndCalls[0].hasName);
    EXPECT_EQ(sndCalls[0].flags, unsigned(SND_ASYNC | SND_NODEFAULT));
}

} // namespace
