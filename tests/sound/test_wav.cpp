#include "test_wav.h"

#include <cmath>
#include <fstream>

namespace {
void put32(Bytes &out, unsigned value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back((unsigned char)(value >> (8 * i)));
    }
}
void put16(Bytes &out, unsigned value) {
    out.push_back((unsigned char)value);
    out.push_back((unsigned char)(value >> 8));
}
} // namespace

std::vector<int> sine(const WavShape &shape, int ms, double hz, const std::vector<double> &levels) {
    std::vector<int> out;
    const int frames = shape.rate * ms / 1000;
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < shape.channels; ++c) {
            const double v =
                levels[std::size_t(c)] * std::sin(2 * 3.14159265358979 * hz * i / shape.rate);
            out.push_back(int(std::lround(32767 * v)));
        }
    }
    return out;
}

Bytes chunk(const char *id, const Bytes &body) {
    Bytes out(id, id + 4);
    put32(out, unsigned(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 == 1) {
        out.push_back(0);
    }
    return out;
}

Bytes fmtChunk(const WavShape &shape, int formatTag) {
    const unsigned block = unsigned(shape.channels * shape.bits / 8);
    Bytes body;
    put16(body, unsigned(formatTag));
    put16(body, unsigned(shape.channels));
    put32(body, unsigned(shape.rate));
    put32(body, unsigned(shape.rate) * block);
    put16(body, block);
    put16(body, unsigned(shape.bits));
    return chunk("fmt ", body);
}

Bytes dataChunk(const WavShape &shape, const std::vector<int> &samples) {
    Bytes body;
    for (int s : samples) {
        if (shape.bits == 8) {
            body.push_back((unsigned char)((s >> 8) + 128));
        } else {
            put16(body, unsigned(s) & 0xFFFF);
        }
    }
    return chunk("data", body);
}

Bytes riff(const std::vector<Bytes> &chunks) {
    Bytes body{'W', 'A', 'V', 'E'};
    for (const Bytes &c : chunks) {
        body.insert(body.end(), c.begin(), c.end());
    }
    Bytes out{'R', 'I', 'F', 'F'};
    put32(out, unsigned(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes wav(const WavShape &shape, const std::vector<int> &samples) {
    return riff({fmtChunk(shape), dataChunk(shape, samples)});
}

Bytes patched(Bytes bytes, std::size_t at, unsigned value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + std::size_t(i)] = (unsigned char)(value >> (8 * i));
    }
    return bytes;
}

std::string writeFile(const std::string &path, const Bytes &bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}
