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

TEST(ConditionAxis, StickWithinTenPercentOfItsTravelReadsCentred) {
  EXPECT_EQ(ConditionAxis(0), 0);
  EXPECT_EQ(ConditionAxis(3276), 0);   // 10 % right
  EXPECT_EQ(ConditionAxis(-3276), 0);  // 10 % left
  EXPECT_EQ(ConditionAxis(1500), 0);   // a worn stick resting off centre
  EXPECT_EQ(ConditionAxis(-1500), 0);
}

TEST(ConditionAxis, StickFromNinetyFivePercentOnReadsFullyOver) {
  EXPECT_EQ(ConditionAxis(31129), 1);    // 95 % right
  EXPECT_EQ(ConditionAxis(-31130), -1);  // 95 % left
  EXPECT_EQ(ConditionAxis(32767), 1);
  EXPECT_EQ(ConditionAxis(-32768), -1);
}

TEST(ConditionAxis, BothSidesSwitchAtTheSameShareOfTheirTravel) {
  // The switch from 0 to 1 lies between the dead zone and saturation, on both sides alike.
  int first_right = 0, first_left = 0;
  ForEveryRaw([&](int16_t raw) {
    if (first_right == 0 && ConditionAxis(raw) == 1) first_right = raw;
  });
  for (int raw = 0; raw >= -32768; --raw) {
    if (ConditionAxis(static_cast<int16_t>(raw)) == -1) {
      first_left = raw;
      break;
    }
  }
  EXPECT_GT(first_right, 3276);
  EXPECT_LE(first_right, 31129);
  EXPECT_LT(first_left, -3277);
  EXPECT_GE(first_left, -31130);
  EXPECT_NEAR(first_right / 32767.0, -first_left / 32768.0, 1.0 / 32767.0);
}

}  // namespace

}  // namespace brawl
