// The sound device over SDL2 audio: one output opened on first need and kept, fed by SDL's
// callback from the samples of the one sound playing. SDL converts to the hardware's format.
#include "snd_device.h"

#include <SDL.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

using Samples = std::vector<Sint16>; // 44.1 kHz stereo
constexpr int kRate = 44100, kChannels = 2, kBufferFrames = 1024;

SDL_AudioDeviceID device = 0;
std::chrono::steady_clock::time_point failedAt; // when opening last failed
bool failed = false;
std::shared_ptr<const Samples> playing;
std::size_t position = 0; // next sample of playing; guarded by the device lock, as is loop
bool loop = false;

void SDLCALL feed(void *, Uint8 *stream, int bytes) {
    auto *out = reinterpret_cast<Sint16 *>(stream);
    for (std::size_t i = 0, n = std::size_t(bytes) / sizeof(Sint16); i < n; ++i) {
        if (playing && position == playing->size() && loop)
            position = 0;
        out[i] = playing && position < playing->size() ? (*playing)[position++] : 0;
    }
}

// The file's sound in the device's format; empty when it cannot be played.
Samples decode(const char *fileName) {
    SDL_AudioSpec spec;
    Uint8 *data = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(fileName, &spec, &data, &length))
        return {};
    SDL_AudioCVT cvt;
    Samples out;
    if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, kChannels,
                          kRate) >= 0) {
        std::vector<Uint8> buffer(std::size_t(length) * std::size_t(cvt.len_mult));
        SDL_memcpy(buffer.data(), data, length);
        cvt.buf = buffer.data();
        cvt.len = int(length);
        if (SDL_ConvertAudio(&cvt) == 0)
            out.assign(reinterpret_cast<Sint16 *>(buffer.data()),
                       reinterpret_cast<Sint16 *>(buffer.data()) +
                           cvt.len_cvt / 2 / kChannels * kChannels);
    }
    SDL_FreeWAV(data);
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
    SDL_LockAudioDevice(device);
    sound.swap(playing); // the old sound is released on return, outside the lock
    position = 0;
    loop = looped;
    SDL_UnlockAudioDevice(device);
}

} // namespace

bool soundOpen() {
    if (device != 0 && SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_STOPPED)
        return true;
    if (device != 0) { // lost, e.g. unplugged: the next attempt takes the new default output
        SDL_CloseAudioDevice(device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        device = 0;
    }
    // A machine without sound tries again every few seconds, so that a device plugged in later
    // is found while a missing one costs nothing.
    const auto now = std::chrono::steady_clock::now();
    if (failed && now - failedAt < std::chrono::seconds(3))
        return false;
    // The audio libraries report a missing device on stderr themselves; the game logs nothing.
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO), quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDERR_FILENO);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1"); // Ctrl+C and SIGTERM stay the program's
    SDL_LogSetOutputFunction([](void *, int, SDL_LogPriority, const char *) {}, nullptr);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        SDL_AudioSpec want{};
        want.freq = kRate;
        want.format = AUDIO_S16SYS;
        want.channels = kChannels;
        want.samples = kBufferFrames; // about 23 ms between the sound's end and its last sample
        want.callback = feed;
        device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        if (device == 0)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    dup2(saved, STDERR_FILENO);
    close(saved);
    close(quiet);
    failed = device == 0;
    failedAt = now;
    if (device != 0)
        SDL_PauseAudioDevice(device, 0);
    return device != 0;
}

bool soundStart(const char *fileName, bool looped) {
    auto sound = std::make_shared<const Samples>(fileName ? decode(fileName) : alertTone());
    const bool playable = !sound->empty();
    play(playable ? sound : nullptr, looped);
    return playable;
}

bool soundBusy() {
    SDL_LockAudioDevice(device);
    const bool busy = playing && (loop || position < playing->size());
    SDL_UnlockAudioDevice(device);
    return busy;
}

void soundStop() {
    if (device != 0)
        play(nullptr, false);
}

void soundWait() {
    // A device that stops taking samples must not hold the game for ever.
    SDL_LockAudioDevice(device);
    const Uint32 left =
        playing ? Uint32((playing->size() - position) * 1000 / kChannels / kRate) : 0;
    const bool heard = playing != nullptr;
    SDL_UnlockAudioDevice(device);
    if (!heard)
        return;
    const Uint32 deadline = SDL_GetTicks() + left + 1000;
    while (soundBusy() && SDL_GetTicks() < deadline)
        SDL_Delay(2);
    SDL_Delay(kBufferFrames * 1000 / kRate); // the device's last buffer, still to be heard
}
