#pragma once
#include <cmath>
#include <cstdint>
#include <limits>

namespace brawl {

// The match is worked out in double and kept in 32-bit floats, the way the game always
// did; every store goes through here so that the rounding happens in one known place.
inline float ToFloat(double value) {
  return static_cast<float>(value);
}

// The game's degrees-to-radians: multiplied first, divided second, with its own pi.
inline double Radians(int degrees) {
  return degrees * 3.1419 / 180;
}

// A turned heading: nearest whole degree, halves to even. A step so large that the sum
// leaves the 16-bit range is held at the range's end rather than wrapped into nonsense;
// the next turn in that direction wraps the heading back onto the circle.
inline int16_t RoundHeading(double degrees) {
  const double rounded = std::nearbyint(degrees);
  if (!(rounded >= std::numeric_limits<int16_t>::min())) return std::numeric_limits<int16_t>::min();
  if (rounded > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  return static_cast<int16_t>(rounded);
}

// Headings are added as 16-bit integers, wrapping at the ends of the range.
inline int16_t AddDegrees(int16_t heading, int degrees) {
  return static_cast<int16_t>(static_cast<uint16_t>(heading + degrees));
}

}  // namespace brawl
