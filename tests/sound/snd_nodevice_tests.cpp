// With no audio device at all, every call returns 0 at once.
#include "playsnd.h"
#include "test_wav.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

TEST(NoDevice, EveryCallReturnsZeroAtOnce) {
    const WavShape shape{22050, 1, 16};
    const std::string path = writeFile(testing::TempDir() + "stakko_nodevice.wav",
                                       wav(shape, sine(shape, 1000, 441, {0.5})));
    const struct {
        const char *name;
        unsigned flags;
    } calls[] = {
        {path.c_str(), SND_SYNC},
        {path.c_str(), SND_ASYNC},
        {path.c_str(), SND_ASYNC | SND_LOOP},
        {path.c_str(), SND_SYNC | SND_NOSTOP},
        {"missing.wav", SND_SYNC},
        {"missing.wav", SND_SYNC | SND_NODEFAULT},
        {nullptr, 0},
    };
    for (int round = 0; round < 3; ++round) {
        for (const auto &c : calls) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(sndPlaySoundA(c.name, c.flags), 0)
                << (c.name ? c.name : "null") << " " << c.flags;
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
        }
    }
    std::remove(path.c_str());
}

} // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("SDL_AUDIODRIVER", "stakko-no-such-driver", 1);
    return RUN_ALL_TESTS();
}
