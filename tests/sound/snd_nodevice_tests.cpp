// With no audio device at all, every call returns 0 at once, on every retry of the device.
#include "playsnd.h"
#include "test_wav.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(NoDevice, EveryCallReturnsZeroAtOnce) {
    const std::string path = writeFile(testing::TempDir() + "stakko_nodevice.wav",
                                       wav({22050, 1, 16}, std::vector<int>(22050, 8000)));
    for (int round = 0; round < 3; ++round)
        for (unsigned flags : {unsigned(SND_SYNC), unsigned(SND_ASYNC | SND_LOOP),
                               unsigned(SND_NOSTOP), unsigned(SND_NODEFAULT)})
            for (const char *name : {path.c_str(), "missing.wav", (const char *)nullptr}) {
                const auto start = std::chrono::steady_clock::now();
                EXPECT_EQ(sndPlaySoundA(name, flags), 0) << (name ? name : "null") << " " << flags;
                EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
            }
    std::remove(path.c_str());
}

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("SDL_AUDIODRIVER", "stakko-no-such-driver", 1);
    return RUN_ALL_TESTS();
}
