// The sound device over SDL2 audio: one output opened on first need and kept, fed by SDL's
// callback from the samples of the one sound playing. SDL converts to the hardware's format.
#include "snd_device.h"

#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

// SDL and the thirty libraries it brings are loaded at the first sound, not at every start-up.
// clang-format off
#define SDL_CALLS(X)                                                                               \
    X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_SetHint) X(SDL_LogSetOutputFunction)           \
    X(SDL_OpenAudioDevice) X(SDL_CloseAudioDevice) X(SDL_PauseAudioDevice)                         \
    X(SDL_GetAudioDeviceStatus) X(SDL_LockAudioDevice) X(SDL_UnlockAudioDevice)                    \
    X(SDL_LoadWAV_RW) X(SDL_RWFromFile) X(SDL_FreeWAV) X(SDL_BuildAudioCVT) X(SDL_ConvertAudio)    \
    X(SDL_Delay)
// clang-format on
namespace sdl {
#define DECLARE(name) decltype(&::name) name = nullptr;
SDL_CALLS(DECLARE)
} // namespace sdl

namespace {

bool loadSdl() {
    static void *library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    bool found = library != nullptr;
#define FIND(name)                                                                                 \
    sdl::name = found ? reinterpret_cast<decltype(&::name)>(dlsym(library, #name)) : nullptr;      \
    found = found && sdl::name;
    SDL_CALLS(FIND)
    return found;
}

using Samples = std::vector<Sint16>; // 44.1 kHz stereo
const int kRate = 44100, kChannels = 2, kBufferFrames = 1024;

SDL_AudioDeviceID device = 0;
std::chrono::steady_clock::time_point failedAt; // when opening last failed
bool failed = false;
std::shared_ptr<const Samples> playing;
std::size_t position = 0; // next sample of playing; guarded by the device lock, as is loop
bool loop = false;

void SDLCALL feed(void *, Uint8 *stream, int bytes) {
    std::generate_n(reinterpret_cast<Sint16 *>(stream), bytes / int(sizeof(Sint16)), [] {
        if (playing && position == playing->size() && loop)
            position = 0;
        return playing && position < playing->size() ? (*playing)[position++] : Sint16(0);
    });
}

// The file's sound in the device's format; empty when it cannot be played.
Samples decode(const char *fileName) {
    SDL_AudioSpec spec;
    Uint8 *data = nullptr;
    Uint32 length = 0;
    if (!sdl::SDL_LoadWAV_RW(sdl::SDL_RWFromFile(fileName, "rb"), 1, &spec, &data, &length))
        return {};
    SDL_AudioCVT cvt;
    Samples out;
    if (sdl::SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, kChannels,
                               kRate) >= 0) {
        std::vector<Uint8> buffer(std::size_t(length) * std::size_t(cvt.len_mult));
        std::memcpy(buffer.data(), data, length);
        cvt.buf = buffer.data();
        cvt.len = int(length);
        if (sdl::SDL_ConvertAudio(&cvt) == 0)
            out.assign(reinterpret_cast<Sint16 *>(buffer.data()),
                       reinterpret_cast<Sint16 *>(buffer.data()) +
                           cvt.len_cvt / 2 / kChannels * kChannels);
    }
    sdl::SDL_FreeWAV(data);
    return out;
}

Samples alertTone() {
    // 150 ms at 880 Hz, faded in and out so that it starts and ends without a click.
    const int frames = kRate * 150 / 1000, fade = kRate / 100;
    Samples tone;
    for (int i = 0; i < frames; ++i) {
        const double edge = std::min(1.0, double(std::min(i, frames - 1 - i)) / fade);
        const auto value = Sint16(std::lround(9000 * edge * std::sin(2 * M_PI * 880 * i / kRate)));
        tone.insert(tone.end(), kChannels, value);
    }
    return tone;
}

void play(std::shared_ptr<const Samples> sound, bool looped) {
    sdl::SDL_LockAudioDevice(device);
    sound.swap(playing); // the old sound is released on return, outside the lock
    position = 0;
    loop = looped;
    sdl::SDL_UnlockAudioDevice(device);
}

} // namespace

bool soundOpen() {
    if (device != 0 && sdl::SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_STOPPED)
        return true;
    if (device != 0) { // lost, e.g. unplugged: the next attempt takes the new default output
        sdl::SDL_CloseAudioDevice(device);
        sdl::SDL_QuitSubSystem(SDL_INIT_AUDIO);
        device = 0;
    }
    // A machine without sound tries again every few seconds, so that a device plugged in later
    // is found while a missing one costs nothing.
    const auto now = std::chrono::steady_clock::now();
    if (failed && now - failedAt < std::chrono::seconds(3))
        return false;
    // The audio libraries report a missing device on stderr themselves; the game logs nothing.
    const int saved = dup(STDERR_FILENO), quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDERR_FILENO);
    const bool loaded = loadSdl();
    if (loaded) {
        sdl::SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1"); // Ctrl+C and SIGTERM stay the program's
        sdl::SDL_LogSetOutputFunction([](void *, int, SDL_LogPriority, const char *) {}, nullptr);
    }
    if (loaded && sdl::SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        SDL_AudioSpec want{};
        want.freq = kRate;
        want.format = AUDIO_S16SYS;
        want.channels = kChannels;
        want.samples = kBufferFrames; // about 23 ms between the sound's end and its last sample
        want.callback = feed;
        device = sdl::SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        if (!device)
            sdl::SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    dup2(saved, STDERR_FILENO);
    close(saved);
    close(quiet);
    failed = !device;
    failedAt = now;
    if (device != 0)
        sdl::SDL_PauseAudioDevice(device, 0);
    return device != 0;
}

bool soundStart(const char *fileName, bool looped) {
    auto sound = std::make_shared<const Samples>(fileName ? decode(fileName) : alertTone());
    const bool playable = !sound->empty();
    play(playable ? sound : nullptr, looped);
    return playable;
}

bool soundBusy() {
    sdl::SDL_LockAudioDevice(device);
    const bool busy = playing && (loop || position < playing->size());
    sdl::SDL_UnlockAudioDevice(device);
    return busy;
}

void soundStop() {
    if (device != 0)
        play(nullptr, false);
}

void soundWait() {
    // SDL goes on taking samples from a device that is lost, so the wait always ends.
    while (soundBusy())
        sdl::SDL_Delay(2);
    sdl::SDL_Delay(kBufferFrames * 1000 / kRate); // the device's last buffer, still to be heard
}
