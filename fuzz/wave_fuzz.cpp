#include <cstdint>

#include "base/fatal_error.h"
#include "formats/wave.h"
#include "fuzz_checks.h"

// libFuzzer calls the entry point by its C name, outside our namespace.
using namespace brawl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = WriteInputFile(data, size, ".wav");
  try {
    const Wave wave = ReadWave(path);
    Require(wave.bits_per_sample == 8 || wave.bits_per_sample == 16, "8 or 16 bits");
    Require(wave.channels >= 1 && wave.sample_rate > 0, "channels and rate");
    const int64_t frame_bytes = wave.channels * wave.bits_per_sample / 8;
    Require(wave.frames >= 0 && wave.frames * frame_bytes <= static_cast<int64_t>(wave.samples.size()),
            "every counted frame is in the samples");
    Require(WaveMilliseconds(wave) >= 0.0, "a length of zero or more");
  } catch (const FatalError& e) {
    CheckOneLine(e.what());
  }
  return 0;
}
