// sndPlaySoundA over SDL: through SDL's disk driver, which plays in real time into a file, and
// with no device at all. Each test runs in a process of its own, as the device is opened once.
#include "playsnd.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

// An installed sound of 0.91 s, 16-bit mono at 22050 Hz.
const char *const tone = STAKKO_INSTALL_DIR "/WAVs/KIVO_Stakko_Game_Salute.wav";

double secondsFor(const char *file, unsigned flags, int *result) {
    const auto start = std::chrono::steady_clock::now();
    *result = sndPlaySoundA(file, flags);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(SoundDevice, SynchronousSoundsAreHeardToTheirEndAndStandInsAreWaitedFor) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "heard.raw", 1);
    std::remove("heard.raw"); // what an earlier run heard does not count
    int result = 0;
    const double heardFor = secondsFor(tone, SND_SYNC, &result); // to its end, and no more
    EXPECT_TRUE(heardFor >= 0.9 && heardFor < 1.5) << heardFor;
    EXPECT_EQ(result, 1);
    EXPECT_LT(secondsFor(tone, SND_ASYNC, &result), 0.1);
    EXPECT_LT(secondsFor(tone, SND_ASYNC | SND_NOSTOP, &result), 0.1);
    EXPECT_EQ(result, 0); // the first is still playing
    EXPECT_EQ(sndPlaySoundA(nullptr, 0), 1);
    EXPECT_EQ(sndPlaySoundA(tone, SND_ASYNC | SND_NOSTOP), 1); // stopped: nothing in the way
    EXPECT_LT(secondsFor("missing.wav", SND_SYNC | SND_NODEFAULT, &result), 0.1);
    EXPECT_EQ(result, 0);
    EXPECT_GE(secondsFor("missing.wav", SND_SYNC, &result), 0.15); // the alert tone instead
    EXPECT_EQ(result, 0);
    std::ifstream heard("heard.raw", std::ios::binary); // 16-bit stereo: 0.9 s or more, heard
    const std::string samples{std::istreambuf_iterator<char>(heard), {}}; // within 0.25 s
    EXPECT_TRUE(samples.size() > 44100 * 4 * 0.9 && samples.find_first_not_of('\0') < 44100);
}

TEST(SoundDevice, WithoutADeviceSoundsReturnAtOnceQuietlyUntilOneAppears) {
    setenv("SDL_AUDIODRIVER", "alsa", 1); // whose library reports the missing device on stderr
    setenv("AUDIODEV", "no such device", 1);
    int result = 1;
    testing::internal::CaptureStderr();
    EXPECT_LT(secondsFor(tone, SND_SYNC, &result), 0.5);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(sndPlaySoundA(nullptr, 0), 1); // stopping nothing succeeds
    std::fputs("ours", stderr);              // the program's own stderr is back
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ours");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "later.raw", 1);
    EXPECT_EQ(sndPlaySoundA(tone, SND_ASYNC), 0); // not tried again at once
    std::this_thread::sleep_for(std::chrono::milliseconds(3100));
    EXPECT_EQ(sndPlaySoundA(tone, SND_SYNC), 1);
}

} // namespace
