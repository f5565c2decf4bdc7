// Sounds decoded into the audio device's format, for the SDL back end.
#pragma once

#include <SDL.h>
#include <cstddef>
#include <memory>
#include <vector>

// Samples ready to copy into the device's buffer; never empty, whole frames only.
using Clip = std::shared_ptr<const std::vector<Uint8>>;

// True when the bytes are a RIFF/WAVE file whose fmt chunk precedes a non-empty data chunk
// and every chunk up to the data lies wholly inside the bytes.
bool wavLayoutSound(const unsigned char *bytes, std::size_t size);

// The file's sound in the device format, cached by name, size and modification time; null
// when the file is missing, damaged, empty, truncated or absurdly large.
Clip loadClip(const char *fileName, const SDL_AudioSpec &device);

// The short alert tone played in place of a file that cannot be played.
Clip alertClip(const SDL_AudioSpec &device);

// Forgets every decoded file, e.g. when the device's format changes.
void clearClips();

// Bytes per frame of the device format.
int frameBytes(const SDL_AudioSpec &spec);
