#pragma once
#include <cstdint>
#include <string>

namespace brawl {

// Every file the game reads from its program folder, as the build writes them.
extern const char* const kDataFiles[24];

// A fresh folder holding a copy of the build's data files, with a trailing '/'.
std::string CopyOfDataFolder();

// A 24-bit BMP of one colour.
void WriteBmp(const std::string& path, int width, int height, uint8_t r, uint8_t g, uint8_t b);
// A silent mono 16-bit PCM wave of `frames` sample frames at `rate` Hz.
void WriteWave(const std::string& path, uint32_t frames, uint32_t rate = 22050);

}  // namespace brawl
