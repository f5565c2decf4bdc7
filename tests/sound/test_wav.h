// WAV files built by the sound tests, chunk by chunk, so that damaged ones can be built too.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

struct WavShape {
    int rate;
    int channels;
    int bits; // 8 or 16
};

// Interleaved samples in -32768..32767: a sine per channel at the given fraction of full scale.
std::vector<int> sine(const WavShape &shape, int ms, double hz, const std::vector<double> &levels);

Bytes chunk(const char *id, const Bytes &body);
Bytes fmtChunk(const WavShape &shape, int formatTag = 1);
// PCM data: 16-bit little-endian, or 8-bit unsigned from each value's high byte.
Bytes dataChunk(const WavShape &shape, const std::vector<int> &samples);
Bytes riff(const std::vector<Bytes> &chunks);
Bytes wav(const WavShape &shape, const std::vector<int> &samples);
// The bytes with a little-endian 32-bit value written over offset `at`.
Bytes patched(Bytes bytes, std::size_t at, unsigned value);

// Writes the bytes and returns the path.
std::string writeFile(const std::string &path, const Bytes &bytes);
