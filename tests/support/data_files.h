#pragma once
#include <cstdint>
#include <string>

namespace brawl {

// Every file the game reads from its program folder, as the build writes them, with the
// FNV-1a hash of its bytes.
struct DataFile {
  const char* name;
  uint32_t fnv;
};
extern const DataFile kDataFiles[24];

// A fresh folder holding a copy of the build's data files, with a trailing '/'.
std::string CopyOfDataFolder();

// Spoils the file at `path` as `how` says: "remove", "fifo", "dir", "size N" (cut, or grown sparse),
// "text WORDS", "bmp W H" (a grey picture of that size) or "long N" (an input script whose
// third line is N characters long).
void Spoil(const std::string& path, const std::string& how);

// A grey 24-bit BMP of that size.
void WriteBmp(const std::string& path, int width, int height);
// A silent mono 16-bit PCM wave of `frames` sample frames at `rate` Hz.
void WriteWave(const std::string& path, uint32_t frames, uint32_t rate = 22050);

}  // namespace brawl
