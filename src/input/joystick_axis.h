#pragma once
#include <cstdint>

namespace brawl {

// A raw stick axis (-32768 .. 32767) in the game's terms: 0 within 10 % of the travel
// from the centre, -1 or 1 from 95 % on, and in between scaled linearly and rounded.
int32_t ConditionAxis(int16_t raw);

}  // namespace brawl
