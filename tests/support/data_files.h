#pragma once
#include <cstdint>
#include <string>

namespace brawl {

// A fresh folder holding a copy of the build's data files (tests/assets/data_files.tsv), with a
// trailing '/'.
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
