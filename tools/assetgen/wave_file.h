#pragma once
#include <string>
#include <vector>

namespace brawl {

constexpr int kSampleRate = 22050;

// Writes 16-bit PCM mono: a RIFF header, a "fmt " chunk and a "data" chunk. Samples run
// from -1 to 1 and are rounded to the nearest step. Throws naming the file.
void WriteWave(const std::string& path, const std::vector<double>& samples);

}  // namespace brawl
