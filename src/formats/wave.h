#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace brawl {

// A PCM wave file, checked and decoded.
struct Wave {
  int channels = 0;
  int sample_rate = 0;
  int bits_per_sample = 0;       // 8 or 16
  std::vector<uint8_t> samples;  // the data chunk as stored
  int64_t frames = 0;            // sample frames
};

// Reads a RIFF/WAVE PCM file. Throws FatalError naming the file when it is missing,
// not a PCM wave, or shorter than its header claims.
Wave ReadWave(const std::string& path);

// frames x 1000 / sample rate
double WaveMilliseconds(const Wave& wave);

}  // namespace brawl
