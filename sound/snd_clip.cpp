// WAV files decoded for the SDL back end: checked, converted to the device format, cached.
#include "snd_clip.h"
#include "snd_device.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <sys/stat.h>

namespace {

constexpr long long kMaxFileBytes = 16LL << 20;    // far above any game sound
constexpr double kMaxClipBytes = 64.0 * (1 << 20); // decoded: about 6 minutes of 44.1 kHz stereo
constexpr std::size_t kMaxCacheBytes = 32u << 20;
constexpr double kPi = 3.14159265358979323846;
constexpr int kMinRate = 1000, kMaxRate = 384000, kMaxChannels = 8;

struct CachedFile {
    long long size;
    long long mtimeSec;
    long mtimeNsec;
    Clip clip; // null: the file is known to be unplayable
};

std::map<std::string, CachedFile> cache;
std::size_t cacheBytes = 0;
Clip alertTone;
SDL_AudioSpec alertSpec;

Uint32 le32(const unsigned char *p) {
    return Uint32(p[0]) | Uint32(p[1]) << 8 | Uint32(p[2]) << 16 | Uint32(p[3]) << 24;
}

bool readWhole(const char *name, long long size, std::vector<unsigned char> &out) {
    FILE *file = std::fopen(name, "rb");
    if (file == nullptr) {
        return false;
    }
    out.resize(std::size_t(size));
    const std::size_t got = std::fread(out.data(), 1, out.size(), file);
    std::fclose(file);
    return got == out.size();
}

Clip convert(const SDL_AudioSpec &src, const Uint8 *samples, Uint32 len, const SDL_AudioSpec &dev) {
    // Absurd rates or channel counts would make SDL's resampler allocate without bound.
    if (src.freq < kMinRate || src.freq > kMaxRate || src.channels < 1 ||
        src.channels > kMaxChannels) {
        return nullptr;
    }
    const Uint32 srcFrame = SDL_AUDIO_BITSIZE(src.format) / 8 * src.channels;
    const Uint32 whole = len - len % srcFrame;
    const double outBytes = double(whole / srcFrame) * dev.freq / src.freq * frameBytes(dev);
    if (whole == 0 || outBytes > kMaxClipBytes) {
        return nullptr;
    }
    SDL_AudioStream *stream =
        SDL_NewAudioStream(src.format, src.channels, src.freq, dev.format, dev.channels, dev.freq);
    if (stream == nullptr) {
        return nullptr;
    }
    // SDL's flush keeps the resampler's last input back: trailing silence pushes it through,
    // and the output is then cut to the sound's own length.
    const std::vector<Uint8> tail(std::size_t(src.freq / 10 + 1024) * srcFrame,
                                  src.format == AUDIO_U8 ? 0x80 : 0);
    const std::size_t length =
        std::size_t(std::llround(double(whole / srcFrame) * dev.freq / src.freq)) * frameBytes(dev);
    std::vector<Uint8> out;
    if (SDL_AudioStreamPut(stream, samples, int(whole)) == 0 &&
        SDL_AudioStreamPut(stream, tail.data(), int(tail.size())) == 0 &&
        SDL_AudioStreamFlush(stream) == 0) {
        out.resize(std::size_t(SDL_AudioStreamAvailable(stream)));
        const int got = SDL_AudioStreamGet(stream, out.data(), int(out.size()));
        out.resize(std::min(length, got > 0 ? std::size_t(got - got % frameBytes(dev)) : 0));
    }
    SDL_FreeAudioStream(stream);
    if (out.empty()) {
        return nullptr;
    }
    return std::make_shared<const std::vector<Uint8>>(std::move(out));
}

Clip decode(const char *name, long long size, const SDL_AudioSpec &dev) {
    std::vector<unsigned char> bytes;
    if (size <= 0 || size > kMaxFileBytes || !readWhole(name, size, bytes) ||
        !wavLayoutSound(bytes.data(), bytes.size())) {
        return nullptr;
    }
    SDL_AudioSpec src;
    Uint8 *samples = nullptr;
    Uint32 len = 0;
    SDL_RWops *rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (rw == nullptr || SDL_LoadWAV_RW(rw, 1, &src, &samples, &len) == nullptr) {
        return nullptr;
    }
    Clip clip = convert(src, samples, len, dev);
    SDL_FreeWAV(samples);
    return clip;
}

void forget(const std::string &name) {
    auto found = cache.find(name);
    if (found != cache.end()) {
        cacheBytes -= found->second.clip ? found->second.clip->size() : 0;
        cache.erase(found);
    }
}

} // namespace

int frameBytes(const SDL_AudioSpec &spec) {
    return SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
}

bool wavLayoutSound(const unsigned char *bytes, std::size_t size) {
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
        return false;
    }
    bool fmtSeen = false;
    std::size_t at = 12;
    while (size - at >= 8) {
        const unsigned char *id = bytes + at;
        const std::size_t len = le32(id + 4);
        at += 8;
        if (len > size - at) {
            return false; // the chunk claims more than the file holds
        }
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (len < 16) {
                return false;
            }
            fmtSeen = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            return fmtSeen && len > 0;
        }
        at += len;
        if (len % 2 == 1 && at < size) {
            ++at; // chunks are padded to an even length
        }
    }
    return false;
}

Clip loadClip(const char *fileName, const SDL_AudioSpec &device) {
    const std::string name = fileName;
    struct stat st;
    if (stat(fileName, &st) != 0 || !S_ISREG(st.st_mode)) {
        forget(name);
        return nullptr;
    }
    auto found = cache.find(name);
    if (found != cache.end() && found->second.size == st.st_size &&
        found->second.mtimeSec == st.st_mtim.tv_sec &&
        found->second.mtimeNsec == st.st_mtim.tv_nsec) {
        return found->second.clip;
    }
    forget(name);
    Clip clip = decode(fileName, st.st_size, device);
    const std::size_t bytes = clip ? clip->size() : 0;
    if (cacheBytes + bytes > kMaxCacheBytes) {
        clearClips();
    }
    cache[name] = CachedFile{st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, clip};
    cacheBytes += bytes;
    return clip;
}

Clip alertClip(const SDL_AudioSpec &device) {
    if (alertTone && alertSpec.freq == device.freq && alertSpec.format == device.format &&
        alertSpec.channels == device.channels) {
        return alertTone;
    }
    // A sine with short fades, so that it starts and ends without a click.
    const int frames = device.freq * kAlertMs / 1000;
    const int fade = device.freq / 100;
    std::vector<Sint16> mono(std::size_t(frames), 0);
    for (int i = 0; i < frames; ++i) {
        const double edge = std::min(1.0, double(std::min(i, frames - 1 - i)) / fade);
        mono[std::size_t(i)] =
            Sint16(std::lround(9000.0 * edge * std::sin(2 * kPi * kAlertHz * i / device.freq)));
    }
    SDL_AudioSpec src{};
    src.freq = device.freq;
    src.format = AUDIO_S16SYS;
    src.channels = 1;
    alertTone = convert(src, reinterpret_cast<const Uint8 *>(mono.data()),
                        Uint32(mono.size() * sizeof(Sint16)), device);
    alertSpec = device;
    return alertTone;
}

void clearClips() {
    cache.clear();
    cacheBytes = 0;
    alertTone.reset();
}
