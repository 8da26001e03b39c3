#include "input/joystick_axis.h"

#include <cmath>

namespace brawl {

namespace {
constexpr double kDeadZone = 0.10;
constexpr double kSaturation = 0.95;
}  // namespace

int32_t ConditionAxis(int16_t raw) {
  // Each side's own travel, so that both ends of the stick reach full deflection.
  const double travel = raw < 0 ? -raw / 32768.0 : raw / 32767.0;
  double reading = 0.0;
  if (travel >= kSaturation) {
    reading = 1.0;
  } else if (travel > kDeadZone) {
    reading = std::nearbyint((travel - kDeadZone) / (kSaturation - kDeadZone));
  }
  return static_cast<int32_t>(raw < 0 ? -reading : reading);
}

}  // namespace brawl
