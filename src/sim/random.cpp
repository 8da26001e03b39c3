#include "sim/random.h"

#include <bit>

namespace brawl {

void Reseed(Random& random, float timer_seconds) {
  random.state = 0x9E3779B97F4A7C15ULL ^ std::bit_cast<uint32_t>(timer_seconds);
}

double NextUniform(Random& random) {
  // splitmix64: small, fast and the same everywhere.
  uint64_t z = (random.state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * 0x1.0p-53;
}

}  // namespace brawl
