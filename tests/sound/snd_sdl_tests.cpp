// sndPlaySoundA over SDL: through SDL's disk driver, which plays in real time into a file, and
// with no device at all. Each test runs in a process of its own, as the device is opened once.
#include "playsnd.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

// 0.3 s of a loud square wave, 16-bit mono at 22050 Hz.
const char *writeWav() {
    std::ofstream out("tone.wav", std::ios::binary);
    auto u32 = [&](unsigned v) { out.write(reinterpret_cast<const char *>(&v), 4); };
    auto u16 = [&](unsigned short v) { out.write(reinterpret_cast<const char *>(&v), 2); };
    const unsigned samples = 6615;
    out << "RIFF";
    u32(36 + samples * 2);
    out << "WAVEfmt ";
    u32(16), u16(1), u16(1), u32(22050), u32(44100), u16(2), u16(16);
    out << "data";
    u32(samples * 2);
    for (unsigned i = 0; i < samples; ++i)
        u16(i / 11 % 2 ? 20000 : 45536);
    return "tone.wav";
}

double secondsFor(const char *file, unsigned flags, int *result) {
    const auto start = std::chrono::steady_clock::now();
    *result = sndPlaySoundA(file, flags);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(SoundDevice, SynchronousSoundsAreHeardToTheirEndAndStandInsAreWaitedFor) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "heard.raw", 1);
    const char *tone = writeWav();
    int result = 0;
    EXPECT_GE(secondsFor(tone, SND_SYNC, &result), 0.3);
    EXPECT_EQ(result, 1);
    EXPECT_LT(secondsFor(tone, SND_ASYNC, &result), 0.1);
    EXPECT_LT(secondsFor(tone, SND_ASYNC | SND_NOSTOP, &result), 0.1);
    EXPECT_EQ(result, 0); // the first is still playing
    EXPECT_LT(secondsFor("missing.wav", SND_SYNC | SND_NODEFAULT, &result), 0.1);
    EXPECT_EQ(result, 0);
    EXPECT_GE(secondsFor("missing.wav", SND_SYNC, &result), 0.15); // the alert tone instead
    EXPECT_EQ(result, 0);
    EXPECT_EQ(sndPlaySoundA(nullptr, 0), 1);
    std::ifstream heard("heard.raw", std::ios::binary | std::ios::ate);
    EXPECT_GT(heard.tellg(), 44100 * 4 * 0.3); // 0.3 s of 16-bit stereo at the least
}

TEST(SoundDevice, WithoutADeviceSoundsReturnAtOnceQuietlyUntilOneAppears) {
    setenv("SDL_AUDIODRIVER", "no such driver", 1);
    const char *tone = writeWav();
    int result = 1;
    testing::internal::CaptureStderr();
    EXPECT_LT(secondsFor(tone, SND_SYNC, &result), 0.5);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(sndPlaySoundA(nullptr, 0), 1); // stopping nothing succeeds
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "later.raw", 1);
    EXPECT_EQ(sndPlaySoundA(tone, SND_ASYNC), 0); // not tried again at once
    std::this_thread::sleep_for(std::chrono::milliseconds(3100));
    EXPECT_EQ(sndPlaySoundA(tone, SND_SYNC), 1);
}

} // namespace
