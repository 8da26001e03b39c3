#pragma once
#include <cstdint>

namespace brawl {

// A uniform generator on [0, 1) that the game reseeds from its timer.
struct Random {
  uint64_t state = 0x853c49e6748fea9bULL;
};

void Reseed(Random& random, float timer_seconds);
double NextUniform(Random& random);

}  // namespace brawl
