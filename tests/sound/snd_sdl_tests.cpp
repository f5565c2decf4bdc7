// Real playback through SDL's "disk" audio driver, which writes the device's samples to a file
// in real time: what reaches the file, when calls return, loops, stops and bad files.
#include "playsnd.h"
#include "snd_device.h"
#include "test_wav.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

std::string dir; // this process's own folder: ctest may run several at once
const WavShape kMono22{22050, 1, 16};

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// How long a call takes, in milliseconds.
template <typename Call> double msTaken(Call call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The device's output (16-bit stereo at kDeviceRate, as asked of the disk driver) and, from a
// frame on, its first and last non-silent frames.
struct Heard {
    std::vector<int16_t> s;
    long first = -1, last = -1, total = 0;
    double ms() const { return first < 0 ? 0 : (last - first + 1) * 1000.0 / kDeviceRate; }
};

Heard heardSince(long fromFrame) {
    Heard h;
    std::ifstream in(dir + "/device.raw", std::ios::binary | std::ios::ate);
    h.s.resize(std::size_t(in ? std::streamoff(in.tellg()) / 4 * 2 : 0));
    in.seekg(0);
    in.read(reinterpret_cast<char *>(h.s.data()), std::streamsize(h.s.size() * 2));
    h.total = long(h.s.size() / 2);
    for (long f = fromFrame; f < h.total; ++f)
        if (h.s[2 * f] != 0 || h.s[2 * f + 1] != 0) {
            h.last = f;
            h.first = h.first < 0 ? f : h.first;
        }
    return h;
}

class Disk : public ::testing::Test {
  protected:
    // Starts from silence, so that only this test's sounds follow the mark.
    void SetUp() override {
        sndPlaySoundA(nullptr, 0);
        sleepMs(120);
        mark = heardSince(0).total;
    }
    std::string tone(const std::string &name, int ms, double level) {
        return writeFile(dir + "/" + name, wav(kMono22, sine(kMono22, ms, {level})));
    }
    long mark = 0;
};

// A synchronous call returns once the file's samples have reached the device unchanged; an
// asynchronous one returns at once and the sound plays on to its end, whole, since requests
// with SND_NOSTOP fail while it plays.
TEST_F(Disk, SamplesReachTheDeviceUnchangedAndNoStopLeavesThemWhole) {
    std::vector<int> ramp;
    for (int i = 0; i < 22050; ++i) { // 500 ms of stereo at the device's rate
        ramp.push_back(100 + i);
        ramp.push_back(-100 - i);
    }
    const std::string path = writeFile(dir + "/ramp.wav", wav({44100, 2, 16}, ramp));
    const std::string other = tone("other.wav", 100, 0.2);
    const double syncMs = msTaken([&] { EXPECT_EQ(sndPlaySoundA(path.c_str(), SND_SYNC), 1); });
    EXPECT_GE(syncMs, 500);
    EXPECT_LT(syncMs, 900);
    sleepMs(100);
    const Heard h = heardSince(mark);
    ASSERT_EQ(h.last - h.first + 1, 22050);
    EXPECT_TRUE(std::equal(ramp.begin(), ramp.end(), h.s.begin() + 2 * h.first));

    const long from = heardSince(0).total;
    EXPECT_LT(msTaken([&] { EXPECT_EQ(sndPlaySoundA(path.c_str(), SND_ASYNC), 1); }), 250);
    sleepMs(50);
    EXPECT_EQ(sndPlaySoundA(other.c_str(), SND_ASYNC | SND_NOSTOP), 0);
    EXPECT_EQ(sndPlaySoundA(other.c_str(), SND_SYNC | SND_NOSTOP), 0);
    sleepMs(750);
    const Heard async = heardSince(from);
    EXPECT_NEAR(async.ms(), 500, 30) << "played on to its end";
    EXPECT_TRUE(std::equal(ramp.begin(), ramp.end(), async.s.begin() + 2 * async.first));
    EXPECT_EQ(sndPlaySoundA(other.c_str(), SND_SYNC | SND_NOSTOP), 1) << "nothing plays now";
}

// A loop, with or without SND_ASYNC, repeats without blocking until a stop or a new sound.
TEST_F(Disk, LoopRepeatsUntilStoppedOrReplaced) {
    const std::string loop = tone("loop.wav", 100, 0.2), jingle = tone("jingle.wav", 100, 0.6);
    for (unsigned flags : {unsigned(SND_LOOP | SND_ASYNC), unsigned(SND_LOOP)}) {
        SCOPED_TRACE(flags);
        const long from = heardSince(0).total;
        EXPECT_LT(msTaken([&] { EXPECT_EQ(sndPlaySoundA(loop.c_str(), flags), 1); }), 250);
        sleepMs(500);
        EXPECT_GT(heardSince(from).ms(), 300);
        if (flags & SND_ASYNC)
            EXPECT_NE(sndPlaySoundA(nullptr, 0), 0);
        else
            EXPECT_EQ(sndPlaySoundA(jingle.c_str(), SND_SYNC), 1);
        sleepMs(100);
        const Heard stopped = heardSince(from);
        sleepMs(300);
        const Heard later = heardSince(from);
        EXPECT_EQ(later.last, stopped.last) << "nothing heard after the stop";
        EXPECT_GT(later.total - later.last, kDeviceRate / 4) << "the device plays silence on";
    }
}

TEST_F(Disk, UnplayableFilesReturnZeroAtOnceWithTheAlertUnlessNoDefault) {
    const Bytes good = wav(kMono22, sine(kMono22, 1000, {0.5}));
    const std::pair<const char *, Bytes> cases[] = {
        {"missing", {}},
        {"empty", {}},
        {"truncated", Bytes(good.begin(), good.begin() + 2000)},
        {"damaged", riff({fmtChunk(kMono22, 0x7777), dataChunk(kMono22, {1, 2, 3, 4})})},
    };
    for (const auto &[what, bytes] : cases) {
        SCOPED_TRACE(what);
        const std::string path = dir + "/" + what + ".wav";
        if (std::string(what) != "missing")
            writeFile(path, bytes);
        for (unsigned flags : {unsigned(SND_SYNC | SND_NODEFAULT), unsigned(SND_SYNC)}) {
            const long from = heardSince(0).total;
            EXPECT_LT(msTaken([&] { EXPECT_EQ(sndPlaySoundA(path.c_str(), flags), 0); }), 100);
            sleepMs(350);
            const Heard h = heardSince(from);
            EXPECT_NEAR(h.ms(), flags & SND_NODEFAULT ? 0 : kAlertMs, 15) << "silent, or the alert";
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    dir = testing::TempDir() + "stakko-sound-" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (dir + "/device.raw").c_str(), 1);
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove_all(dir);
    return result;
}
