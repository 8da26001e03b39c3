#include "wave_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "write_file.h"

namespace brawl {

namespace {

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutU16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

}  // namespace

void WriteWave(const std::string& path, const std::vector<double>& samples) {
  const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
  std::string out;
  out += "RIFF";
  PutU32(out, 36 + data_bytes);
  out += "WAVE";
  out += "fmt ";
  PutU32(out, 16);
  PutU16(out, 1);  // PCM
  PutU16(out, 1);  // mono
  PutU32(out, kSampleRate);
  PutU32(out, kSampleRate * 2);  // bytes a second
  PutU16(out, 2);                // bytes a frame
  PutU16(out, 16);
  out += "data";
  PutU32(out, data_bytes);
  for (const double s : samples) {
    const long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
    PutU16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
  }
  WriteFile(path, out);
}

}  // namespace brawl
