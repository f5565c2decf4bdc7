// sndPlaySoundA over SDL2 audio: one output device kept open across sounds, and one sound at
// a time, copied into the device's buffer by its callback from a decoded clip.
//
// Outcomes: nonzero when the sound was played, or, for a null name, when the device is open
// and its sound was stopped; 0 with no audio device, when SND_NOSTOP finds a sound playing,
// or when the file cannot be played. A request without SND_NOSTOP stops the current sound
// even when its own file then fails. An unplayable file without SND_NODEFAULT starts a short
// generated alert tone (the desktop's alert sound is not a WAV file) and still returns 0 at
// once. SND_LOOP always plays asynchronously, since a looped sound never ends.
#include "playsnd.h"
#include "snd_clip.h"
#include "snd_device.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <mutex>

namespace {

// What the callback plays; guarded by the device lock.
struct Playback {
    Clip clip; // null: silence
    std::size_t pos = 0;
    bool loop = false;
    bool done = true;    // the clip's last byte has gone to the device
    Uint64 heardBy = 0;  // tick by which that byte will have been heard
    unsigned serial = 0; // counts sounds started and stopped
};

Playback playing;
SDL_AudioDeviceID device = 0;
SDL_AudioSpec deviceSpec;
std::mutex apiLock; // callers take turns opening, loading and starting; never held while waiting
bool exitHookSet = false;
bool failedBefore = false;
std::chrono::steady_clock::time_point failedAt;
constexpr auto kRetryAfter = std::chrono::seconds(3); // a headless machine pays for one attempt
constexpr Uint64 kStallMs = 2000; // a device that stops consuming releases the caller after this

Uint64 bytesToMs(std::size_t bytes) {
    return Uint64(bytes) * 1000 / Uint64(frameBytes(deviceSpec) * deviceSpec.freq);
}

void SDLCALL mix(void *, Uint8 *stream, int len) {
    const std::size_t want = std::size_t(len);
    std::size_t filled = 0;
    while (playing.clip && !playing.done && filled < want) {
        const std::vector<Uint8> &data = *playing.clip;
        const std::size_t take = std::min(want - filled, data.size() - playing.pos);
        SDL_memcpy(stream + filled, data.data() + playing.pos, take);
        filled += take;
        playing.pos += take;
        if (playing.pos < data.size()) {
            continue;
        }
        if (playing.loop) {
            playing.pos = 0;
        } else {
            // This buffer is heard after the one the device holds now.
            playing.done = true;
            playing.heardBy = SDL_GetTicks64() + bytesToMs(want + filled);
        }
    }
    SDL_memset(stream + filled, deviceSpec.silence, want - filled);
}

void closeDevice() {
    if (device != 0) {
        SDL_CloseAudioDevice(device);
        device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    playing.clip.reset();
    playing.done = true;
    ++playing.serial;
}

bool openDevice() {
    if (device != 0 && SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_STOPPED) {
        return true;
    }
    closeDevice(); // lost, e.g. unplugged: the next attempt takes the new default output
    const auto now = std::chrono::steady_clock::now();
    if (failedBefore && now - failedAt < kRetryAfter) {
        return false;
    }
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1"); // Ctrl+C and SIGTERM stay the program's
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Stakko");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        SDL_AudioSpec want{};
        want.freq = kDeviceRate;
        want.format = AUDIO_S16SYS;
        want.channels = kDeviceChannels;
        want.samples = kDeviceFrames;
        want.callback = mix;
        device =
            SDL_OpenAudioDevice(nullptr, 0, &want, &deviceSpec,
                                SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
        if (device == 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }
    failedBefore = device == 0;
    failedAt = now;
    if (device == 0) {
        return false;
    }
    clearClips(); // decoded for the previous device's format
    if (!exitHookSet) {
        exitHookSet = std::atexit(closeDevice) == 0;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

unsigned start(const Clip &clip, bool loop) {
    Clip old;
    SDL_LockAudioDevice(device);
    old.swap(playing.clip);
    playing.clip = clip;
    playing.pos = 0;
    playing.loop = loop;
    playing.done = !clip;
    const unsigned serial = ++playing.serial;
    SDL_UnlockAudioDevice(device);
    return serial; // the old clip is released here, outside the lock
}

bool busy() {
    SDL_LockAudioDevice(device);
    const bool result = playing.clip && !playing.done;
    SDL_UnlockAudioDevice(device);
    return result;
}

// Blocks until the sound has been heard to its end, or was stopped from elsewhere.
bool waitHeard(SDL_AudioDeviceID dev, unsigned serial, Uint64 lengthMs) {
    const Uint64 started = SDL_GetTicks64();
    for (;;) {
        SDL_LockAudioDevice(dev);
        const bool same = playing.serial == serial;
        const bool done = playing.done;
        const Uint64 heardBy = playing.heardBy;
        SDL_UnlockAudioDevice(dev);
        const Uint64 now = SDL_GetTicks64();
        if (!same) {
            return true;
        }
        if (done) {
            // Never shorter than the sound itself, should the device run ahead of the clock.
            const Uint64 end = std::max(heardBy, started + lengthMs);
            SDL_Delay(Uint32(end > now ? end - now : 0));
            return true;
        }
        if (now > started + lengthMs + kStallMs) {
            std::lock_guard<std::mutex> hold(apiLock);
            if (playing.serial == serial) {
                start(nullptr, false);
            }
            return false;
        }
        SDL_Delay(2);
    }
}

} // namespace

int sndPlaySoundA(const char *fileName, unsigned int flags) {
    std::unique_lock<std::mutex> hold(apiLock);
    if (fileName == nullptr) {
        // Never opens the device: with none open, nothing can be playing.
        if (device == 0) {
            return 0;
        }
        start(nullptr, false);
        return 1;
    }
    if (!openDevice() || ((flags & SND_NOSTOP) != 0 && busy())) {
        return 0;
    }
    const Clip clip = loadClip(fileName, deviceSpec);
    if (!clip) {
        start((flags & SND_NODEFAULT) != 0 ? nullptr : alertClip(deviceSpec), false);
        return 0;
    }
    const bool loop = (flags & SND_LOOP) != 0;
    const unsigned serial = start(clip, loop);
    if (loop || (flags & SND_ASYNC) != 0) {
        return 1;
    }
    const SDL_AudioDeviceID dev = device;
    const Uint64 lengthMs = bytesToMs(clip->size());
    hold.unlock();
    return waitHeard(dev, serial, lengthMs) ? 1 : 0;
}
