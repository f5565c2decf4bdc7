// Real playback through SDL's "disk" audio driver, which writes the device's samples to a file
// in real time: what reaches the file, when calls return, loops, stops and bad files.
#include "playsnd.h"
#include "snd_device.h"
#include "test_wav.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

std::string dir; // this process's own folder: ctest may run several at once

std::string diskFile() {
    return dir + "/device.raw";
}

// The device's output so far: 16-bit stereo at kDeviceRate, as asked of the disk driver.
std::vector<int16_t> deviceOutput() {
    std::ifstream in(diskFile(), std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? std::streamoff(in.tellg()) : 0;
    std::vector<int16_t> out(std::size_t(size / 4 * 2));
    in.seekg(0);
    in.read(reinterpret_cast<char *>(out.data()), std::streamsize(out.size() * 2));
    return out;
}

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The sound heard after a frame: its first and last non-silent frames and each side's level.
struct Heard {
    long first = -1, last = -1, total = 0;
    double rms[2] = {0, 0};
    double ms() const { return first < 0 ? 0 : (last - first + 1) * 1000.0 / kDeviceRate; }
};

Heard heardSince(long fromFrame) {
    const std::vector<int16_t> s = deviceOutput();
    Heard h;
    h.total = long(s.size() / 2);
    for (long f = fromFrame; f < h.total; ++f) {
        if (s[std::size_t(2 * f)] != 0 || s[std::size_t(2 * f + 1)] != 0) {
            h.last = f;
            h.first = h.first < 0 ? f : h.first;
        }
    }
    for (long f = h.first; f >= 0 && f <= h.last; ++f) {
        for (int c = 0; c < 2; ++c) {
            h.rms[c] += double(s[std::size_t(2 * f + c)]) * s[std::size_t(2 * f + c)];
        }
    }
    for (double &r : h.rms) {
        r = h.first < 0 ? 0 : std::sqrt(r / double(h.last - h.first + 1));
    }
    return h;
}

const WavShape kStereo44{44100, 2, 16};
const WavShape kMono22{22050, 1, 16};
constexpr double kFullRms = 32767 / 1.4142135623730951; // a full-scale sine's level

class Disk : public ::testing::Test {
  protected:
    // Starts from silence, so that only this test's sounds follow the mark.
    void SetUp() override {
        sndPlaySoundA(nullptr, 0);
        sleepMs(120);
        mark = long(deviceOutput().size() / 2);
    }
    void TearDown() override { sndPlaySoundA(nullptr, 0); }
    std::string tone(const std::string &name, int ms, double level) {
        return writeFile(dir + "/" + name, wav(kMono22, sine(kMono22, ms, 441, {level})));
    }
    long mark = 0;
};

TEST_F(Disk, DeviceReceivesTheFileSamplesUnchanged) {
    std::vector<int> ramp;
    for (int i = 0; i < 4410; ++i) {
        ramp.push_back(100 + i);
        ramp.push_back(-100 - 3 * i);
    }
    const std::string path = writeFile(dir + "/ramp.wav", wav(kStereo44, ramp));
    ASSERT_EQ(sndPlaySoundA(path.c_str(), SND_SYNC), 1);
    sleepMs(100);
    const Heard h = heardSince(mark);
    ASSERT_EQ(h.last - h.first + 1, 4410);
    const std::vector<int16_t> s = deviceOutput();
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        ASSERT_EQ(s[std::size_t(2 * h.first) + i], ramp[i]) << "sample " << i;
    }
}

TEST_F(Disk, SynchronousCallLastsTheSoundAsynchronousReturnsAtOnce) {
    const std::string path = tone("half.wav", 500, 0.5);
    auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(sndPlaySoundA(path.c_str(), SND_SYNC), 1);
    const double syncMs = msSince(start);
    EXPECT_GE(syncMs, 500);
    EXPECT_LT(syncMs, 900);

    start = std::chrono::steady_clock::now();
    ASSERT_EQ(sndPlaySoundA(path.c_str(), SND_ASYNC), 1);
    EXPECT_LT(msSince(start), 250);
    const long from = long(deviceOutput().size() / 2);
    sleepMs(800);
    EXPECT_NEAR(heardSince(from).ms(), 500, 30) << "played on to its end";
}

TEST_F(Disk, LoopRepeatsUntilStopped) {
    const std::string path = tone("loop.wav", 100, 0.5);
    for (unsigned flags : {unsigned(SND_LOOP | SND_ASYNC), unsigned(SND_LOOP)}) {
        SCOPED_TRACE(flags);
        const long from = long(deviceOutput().size() / 2);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(sndPlaySoundA(path.c_str(), flags), 1);
        EXPECT_LT(msSince(start), 250) << "a loop never blocks";
        sleepMs(500);
        EXPECT_GT(heardSince(from).ms(), 300);
        EXPECT_NE(sndPlaySoundA(nullptr, 0), 0);
        sleepMs(100);
        const Heard stopped = heardSince(from);
        sleepMs(300);
        const Heard later = heardSince(from);
        EXPECT_EQ(later.last, stopped.last) << "nothing heard after the stop";
        EXPECT_GT(later.total - later.last, kDeviceRate / 4) << "the device plays silence on";
    }
}

TEST_F(Disk, NoStopFailsWhileASoundPlaysAndLeavesItWhole) {
    const std::string first = tone("first.wav", 400, 0.5), second = tone("second.wav", 100, 0.2);
    ASSERT_EQ(sndPlaySoundA(first.c_str(), SND_ASYNC), 1);
    sleepMs(50);
    EXPECT_EQ(sndPlaySoundA(second.c_str(), SND_ASYNC | SND_NOSTOP), 0);
    EXPECT_EQ(sndPlaySoundA(second.c_str(), SND_SYNC | SND_NOSTOP), 0);
    sleepMs(550);
    const Heard h = heardSince(mark);
    EXPECT_NEAR(h.ms(), 400, 30);
    EXPECT_NEAR(h.rms[0], 0.5 * kFullRms, 0.05 * kFullRms);
    EXPECT_EQ(sndPlaySoundA(second.c_str(), SND_SYNC | SND_NOSTOP), 1) << "nothing plays now";
}

TEST_F(Disk, NewSoundStopsTheCurrentOne) {
    const std::string looped = tone("bed.wav", 100, 0.2), jingle = tone("jingle.wav", 100, 0.6);
    ASSERT_EQ(sndPlaySoundA(looped.c_str(), SND_ASYNC | SND_LOOP), 1);
    sleepMs(150);
    ASSERT_EQ(sndPlaySoundA(jingle.c_str(), SND_SYNC), 1);
    sleepMs(300);
    const Heard h = heardSince(mark);
    EXPECT_GT(h.total - h.last, kDeviceRate / 5) << "the loop did not resume";
    EXPECT_LT(h.ms(), 400);
}

TEST_F(Disk, UnplayableFilesReturnZeroAtOnceWithTheAlertUnlessNoDefault) {
    const Bytes good = wav(kMono22, sine(kMono22, 1000, 441, {0.5}));
    const struct {
        const char *what;
        Bytes bytes;
    } cases[] = {
        {"missing", {}},
        {"empty", {}},
        {"truncated", Bytes(good.begin(), good.begin() + 2000)},
        {"damaged", riff({fmtChunk(kMono22, 0x7777), dataChunk(kMono22, {1, 2, 3, 4})})},
        {"absurd data length", patched(good, 40, 0x7FFFFFF0)},
        {"not a WAV", Bytes{'O', 'g', 'g', 'S', 0, 2}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir + "/bad.wav";
        std::filesystem::remove(path);
        if (std::string(c.what) != "missing") {
            writeFile(path, c.bytes);
        }
        for (unsigned flags : {unsigned(SND_SYNC | SND_NODEFAULT), unsigned(SND_SYNC)}) {
            const long from = long(deviceOutput().size() / 2);
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(sndPlaySoundA(path.c_str(), flags), 0);
            EXPECT_LT(msSince(start), 100);
            sleepMs(350);
            const Heard h = heardSince(from);
            if (flags & SND_NODEFAULT) {
                EXPECT_EQ(h.first, -1) << "silent";
            } else {
                EXPECT_NEAR(h.ms(), kAlertMs, 15) << "the alert tone";
                EXPECT_GT(h.rms[0], 0.1 * kFullRms);
            }
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string pattern = (std::filesystem::temp_directory_path() / "stakko-sound-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return 2;
    }
    dir = pattern;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", diskFile().c_str(), 1);
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove_all(dir);
    return result;
}
