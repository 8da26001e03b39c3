#include "input/joystick_axis.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/run_brawl.h"

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

// Readings on either side of every edge: tests/input/axis_readings.tsv.
TEST(ConditionAxis, ReadingsOnEitherSideOfEveryEdge) {
  for (const auto& row : Rows("tests/input/axis_readings.tsv"))
    EXPECT_EQ(ConditionAxis(static_cast<int16_t>(std::stoi(row[0]))), std::stoi(row[1])) << row[2];
}

}  // namespace

}  // namespace brawl
