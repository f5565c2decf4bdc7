// Decoding WAV files into the device format: which files play, at what length, and the cache.
#include "snd_clip.h"
#include "snd_device.h"
#include "test_wav.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

const WavShape kMono16{22050, 1, 16};

class Clips : public ::testing::Test {
  protected:
    void SetUp() override { clearClips(); }
    void TearDown() override { std::remove(path.c_str()); }
    std::string file(const Bytes &bytes) { return writeFile(path, bytes); }
    SDL_AudioSpec device{kDeviceRate, AUDIO_S16SYS, 2, 0, 0, 0, 0, nullptr, nullptr};
    const std::string path = testing::TempDir() + "stakko_" +
                             testing::UnitTest::GetInstance()->current_test_info()->name();
};

TEST_F(Clips, EveryPcmShapeKeepsItsLengthAndLevelsInTheDeviceFormat) {
    for (int bits : {8, 16})
        for (int channels : {1, 2})
            for (int rate : {11025, 22050, 44100}) {
                const WavShape shape{rate, channels, bits};
                SCOPED_TRACE(testing::Message() << bits << " bits " << channels << " ch " << rate);
                clearClips();
                const Clip clip =
                    loadClip(file(wav(shape, sine(shape, 300, {0.5, 0.25}))).c_str(), device);
                ASSERT_TRUE(clip);
                const long frames = long(clip->size() / 4);
                EXPECT_NEAR(frames, 0.3 * kDeviceRate, 2);
                const Sint16 *s = reinterpret_cast<const Sint16 *>(clip->data());
                double sum[2] = {0, 0};
                for (long i = 0; i < 2 * frames; ++i)
                    sum[i % 2] += double(s[i]) * s[i];
                EXPECT_NEAR(std::sqrt(sum[0] / frames), 0.5 * kFullRms, 0.03 * kFullRms);
                EXPECT_NEAR(std::sqrt(sum[1] / frames), (channels == 1 ? 0.5 : 0.25) * kFullRms,
                            0.03 * kFullRms);
            }
}

TEST_F(Clips, OnlyWellFormedFilesPlay) {
    const Bytes fmt = fmtChunk(kMono16), data = dataChunk(kMono16, sine(kMono16, 100, {0.5}));
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
        {"RIFF of another kind", riff({fmt, data}, "AVI "), BadLayout},
        {"data before fmt", riff({data, fmt}), BadLayout},
        {"no data chunk", riff({fmt}), BadLayout},
        {"empty data chunk", riff({fmt, chunk("data", {})}), BadLayout},
        {"no fmt chunk", riff({data}), BadLayout},
        {"truncated data", Bytes(good.begin(), good.end() - 100), BadLayout},
        {"cut inside the header", Bytes(good.begin(), good.begin() + 30), BadLayout},
        {"data length of 4 GiB", riff({fmt, chunk("data", {1, 2}, 0xFFFFFFF0)}), BadLayout},
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
        clearClips();
        EXPECT_EQ(wavLayoutSound(c.bytes.data(), c.bytes.size()), c.kind != BadLayout) << c.what;
        EXPECT_EQ(bool(loadClip(file(c.bytes).c_str(), device)), c.kind == Plays) << c.what;
    }
    EXPECT_FALSE(loadClip((path + ".missing").c_str(), device));
    EXPECT_FALSE(loadClip(testing::TempDir().c_str(), device)) << "a folder";
}

TEST_F(Clips, CacheServesAnUnchangedFileAndReloadsAChangedOne) {
    file(wav(kMono16, sine(kMono16, 100, {0.5})));
    const Clip first = loadClip(path.c_str(), device);
    ASSERT_TRUE(first);
    EXPECT_EQ(loadClip(path.c_str(), device), first);
    file(wav(kMono16, sine(kMono16, 200, {0.5})));
    const Clip longer = loadClip(path.c_str(), device);
    ASSERT_TRUE(longer);
    EXPECT_NEAR(double(longer->size()), 2.0 * double(first->size()), 0.02 * double(first->size()));
    // Same size, new content: only the modification time tells them apart.
    file(wav(kMono16, sine(kMono16, 200, {0.1})));
    struct timespec later[2] = {{0, UTIME_OMIT}, {std::time(nullptr) + 10, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), later, 0), 0);
    const Clip quieter = loadClip(path.c_str(), device);
    ASSERT_TRUE(quieter);
    EXPECT_NE(*quieter, *longer);
    std::remove(path.c_str());
    EXPECT_FALSE(loadClip(path.c_str(), device));
}

} // namespace
