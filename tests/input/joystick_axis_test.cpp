#include "input/joystick_axis.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace brawl {

namespace {

// Every raw value, from -32768 to 32767.
template <typename F>
void ForEveryRaw(F f) {
  for (int raw = -32768; raw <= 32767; ++raw) f(static_cast<int16_t>(raw));
}

TEST(ConditionAxis, ReadsOnlyMinusOneZeroOrOneAndNeverGoesBackwards) {
  int32_t previous = -1;
  ForEveryRaw([&](int16_t raw) {
    const int32_t reading = ConditionAxis(raw);
    ASSERT_TRUE(reading == -1 || reading == 0 || reading == 1) << raw;
    ASSERT_GE(reading, previous) << raw;
    previous = reading;
  });
}

// The dead zone and saturation bound where a reading may change; rounding the linear scale
// puts the change halfway between them (52.5 % of each side's travel).
TEST(ConditionAxis, ReadingsOnEitherSideOfEveryEdge) {
  const std::pair<int16_t, int32_t> readings[] = {
      {0, 0},        // centred
      {1500, 0},     // a worn stick resting off centre
      {3276, 0},     // 10 % right
      {-3276, 0},    // 10 % left
      {17202, 0},    // right: the last centred reading
      {17203, 1},    // and the first full one
      {-17203, 0},   // left: the last centred reading
      {-17204, -1},  // and the first full one
      {31129, 1},    // 95 % right
      {-31130, -1},  // 95 % left
      {32767, 1},    // all the way right
      {-32768, -1},  // all the way left
  };
  for (const auto& [raw, reading] : readings) EXPECT_EQ(ConditionAxis(raw), reading) << raw;
}

}  // namespace

}  // namespace brawl
