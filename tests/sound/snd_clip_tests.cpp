// Decoding WAV files into the device format: which files play, at what length, and the cache.
#include "snd_clip.h"
#include "snd_device.h"
#include "test_wav.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace {

const WavShape kMono16{22050, 1, 16};

class Clips : public ::testing::Test {
  protected:
    void SetUp() override {
        device.freq = kDeviceRate;
        device.format = AUDIO_S16SYS;
        device.channels = 2;
        dir = testing::TempDir() + "stakko_clips_" +
              testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(dir);
        clearClips();
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string file(const std::string &name, const Bytes &bytes) {
        return writeFile(dir + "/" + name, bytes);
    }
    SDL_AudioSpec device{};
    std::string dir;
};

TEST_F(Clips, EveryPcmShapeKeepsItsLengthAndLevelsInTheDeviceFormat) {
    for (int bits : {8, 16}) {
        for (int channels : {1, 2}) {
            for (int rate : {11025, 22050, 44100}) {
                const WavShape shape{rate, channels, bits};
                SCOPED_TRACE(testing::Message() << bits << " bits " << channels << " ch " << rate);
                const Clip clip = loadClip(
                    file("s.wav", wav(shape, sine(shape, 300, 441, {0.5, 0.25}))).c_str(), device);
                ASSERT_TRUE(clip);
                const std::size_t frames = clip->size() / 4;
                EXPECT_NEAR(double(frames), 0.3 * kDeviceRate, 2);
                const Sint16 *s = reinterpret_cast<const Sint16 *>(clip->data());
                double sum[2] = {0, 0};
                for (std::size_t i = 0; i < 2 * frames; ++i) {
                    sum[i % 2] += double(s[i]) * s[i];
                }
                const double fullRms = 32767 / std::sqrt(2.0);
                EXPECT_NEAR(std::sqrt(sum[0] / frames), 0.5 * fullRms, 0.03 * fullRms);
                EXPECT_NEAR(std::sqrt(sum[1] / frames), (channels == 1 ? 0.5 : 0.25) * fullRms,
                            0.03 * fullRms);
                clearClips();
            }
        }
    }
}

TEST_F(Clips, OnlyWellFormedFilesPlay) {
    const std::vector<int> samples = sine(kMono16, 100, 441, {0.5});
    const Bytes fmt = fmtChunk(kMono16), data = dataChunk(kMono16, samples);
    const Bytes good = riff({fmt, data});
    enum Kind { Plays, BadLayout, BadFormat };
    const struct {
        const char *what;
        Bytes bytes;
        Kind kind;
    } cases[] = {
        {"plain", good, Plays},
        {"odd chunk before the data", riff({fmt, chunk("LIST", {1, 2, 3}), data}), Plays},
        {"chunk after the data", riff({fmt, data, chunk("junk", {9, 9})}), Plays},
        {"empty", {}, BadLayout},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o'}, BadLayout},
        {"RIFF of another kind", patched(good, 8, 0x49564100), BadLayout},
        {"data before fmt", riff({data, fmt}), BadLayout},
        {"no data chunk", riff({fmt}), BadLayout},
        {"empty data chunk", riff({fmt, chunk("data", {})}), BadLayout},
        {"no fmt chunk", riff({data}), BadLayout},
        {"truncated data", Bytes(good.begin(), good.end() - 100), BadLayout},
        {"cut inside the header", Bytes(good.begin(), good.begin() + 30), BadLayout},
        {"data length of 4 GiB", patched(good, 40, 0xFFFFFFF0), BadLayout},
        {"fmt chunk too short", riff({chunk("fmt ", {1, 0, 1, 0}), data}), BadLayout},
        {"unknown format tag", riff({fmtChunk(kMono16, 0x7777), data}), BadFormat},
        {"no channels", riff({fmtChunk({22050, 0, 16}), data}), BadFormat},
        {"rate of zero", riff({fmtChunk({0, 1, 16}), data}), BadFormat},
        {"rate of 10 Hz", riff({fmtChunk({10, 1, 16}), data}), BadFormat},
        {"rate of 2 GHz", riff({fmtChunk({2000000000, 1, 16}), data}), BadFormat},
        {"12-bit samples", riff({fmtChunk({22050, 1, 12}), data}), BadFormat},
        {"64 channels", riff({fmtChunk({22050, 64, 16}), data}), BadFormat},
    };
    for (const auto &c : cases) {
        const std::string path = file("c.wav", c.bytes);
        EXPECT_EQ(wavLayoutSound(c.bytes.data(), c.bytes.size()), c.kind != BadLayout) << c.what;
        EXPECT_EQ(bool(loadClip(path.c_str(), device)), c.kind == Plays) << c.what;
        clearClips();
    }
    EXPECT_FALSE(loadClip((dir + "/missing.wav").c_str(), device));
    EXPECT_FALSE(loadClip(dir.c_str(), device)) << "a folder";
}

TEST_F(Clips, CacheServesAnUnchangedFileAndReloadsAChangedOne) {
    const std::string path = file("c.wav", wav(kMono16, sine(kMono16, 100, 441, {0.5})));
    const Clip first = loadClip(path.c_str(), device);
    ASSERT_TRUE(first);
    EXPECT_EQ(loadClip(path.c_str(), device), first);

    file("c.wav", wav(kMono16, sine(kMono16, 200, 441, {0.5})));
    const Clip longer = loadClip(path.c_str(), device);
    ASSERT_TRUE(longer);
    EXPECT_NEAR(double(longer->size()), 2.0 * double(first->size()), 0.02 * double(first->size()));

    // Same size, new content: only the modification time tells them apart.
    file("c.wav", wav(kMono16, sine(kMono16, 200, 441, {0.1})));
    struct timespec later[2] = {{0, UTIME_OMIT}, {std::time(nullptr) + 10, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), later, 0), 0);
    const Clip quieter = loadClip(path.c_str(), device);
    ASSERT_TRUE(quieter);
    EXPECT_NE(*quieter, *longer);

    std::remove(path.c_str());
    EXPECT_FALSE(loadClip(path.c_str(), device));
}

TEST_F(Clips, AlertToneIsAShortAudibleSoundInTheDeviceFormat) {
    for (int channels : {1, 2, 6}) {
        device.channels = Uint8(channels);
        const Clip tone = alertClip(device);
        ASSERT_TRUE(tone);
        EXPECT_NEAR(double(tone->size()) / (2 * channels), kAlertMs * kDeviceRate / 1000.0, 50);
        const Sint16 *s = reinterpret_cast<const Sint16 *>(tone->data());
        int peak = 0;
        for (std::size_t i = 0; i < tone->size() / 2; ++i) {
            peak = std::max(peak, std::abs(int(s[i])));
        }
        EXPECT_GT(peak, 3000) << channels << " channels";
    }
}

} // namespace
