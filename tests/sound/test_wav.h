// WAV files built by the sound tests, chunk by chunk, so that damaged ones can be built too.
#pragma once

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;
constexpr double kFullRms = 32767 / 1.4142135623730951; // a full-scale sine's level

struct WavShape {
    int rate, channels, bits; // bits: 8 or 16
};

// Appends little-endian fields, each a value and its size in bytes.
inline void put(Bytes &out, std::initializer_list<std::pair<unsigned, int>> fields) {
    for (const auto &[value, size] : fields)
        for (int i = 0; i < size; ++i)
            out.push_back((unsigned char)(value >> (8 * i)));
}

// Interleaved samples in -32768..32767: a 441 Hz sine per channel at the given fraction of
// full scale.
inline std::vector<int> sine(const WavShape &shape, int ms, const std::vector<double> &levels) {
    std::vector<int> out;
    for (int i = 0; i < shape.rate * ms / 1000; ++i)
        for (std::size_t c = 0; c < std::size_t(shape.channels); ++c)
            out.push_back(int(std::lround(32767 * levels[c] *
                                          std::sin(6.283185307179586 * 441 * i / shape.rate))));
    return out;
}

// A chunk whose header gives the body's size, or the size declared.
inline Bytes chunk(const char *id, const Bytes &body, long declared = -1) {
    Bytes out(id, id + 4);
    put(out, {{unsigned(declared < 0 ? long(body.size()) : declared), 4}});
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 == 1)
        out.push_back(0);
    return out;
}

inline Bytes fmtChunk(const WavShape &w, int formatTag = 1) {
    const unsigned block = unsigned(w.channels * w.bits / 8);
    Bytes body;
    put(body, {{unsigned(formatTag), 2}, {unsigned(w.channels), 2}});
    put(body, {{unsigned(w.rate), 4}, {unsigned(w.rate) * block, 4}});
    put(body, {{block, 2}, {unsigned(w.bits), 2}});
    return chunk("fmt ", body);
}

// PCM data: 16-bit little-endian, or 8-bit unsigned from each value's high byte.
inline Bytes dataChunk(const WavShape &w, const std::vector<int> &samples) {
    Bytes body;
    for (int s : samples)
        put(body, {{w.bits == 8 ? unsigned((s >> 8) + 128) : unsigned(s), w.bits / 8}});
    return chunk("data", body);
}

inline Bytes riff(const std::vector<Bytes> &chunks, const char *form = "WAVE") {
    Bytes body(form, form + 4);
    for (const Bytes &c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    return chunk("RIFF", body);
}

inline Bytes wav(const WavShape &shape, const std::vector<int> &samples) {
    return riff({fmtChunk(shape), dataChunk(shape, samples)});
}

// Writes the bytes and returns the path.
inline std::string writeFile(const std::string &path, const Bytes &bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}
