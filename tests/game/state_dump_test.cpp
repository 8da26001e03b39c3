#include "game/state_dump.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace brawl {

namespace {

std::string Float(float value) {
  std::string out;
  AppendDumpFloat(out, value);
  return out;
}

TEST(DumpFloat, NineSignificantDigitsThatReadBackToTheSameFloat) {
  EXPECT_EQ(Float(60.0f), "60");
  EXPECT_EQ(Float(0.0f), "0");
  EXPECT_EQ(Float(-0.0f), "-0");
  EXPECT_EQ(Float(2.5f), "2.5");
  EXPECT_EQ(Float(0.1f), "0.100000001");
  EXPECT_EQ(Float(49.9969254f), "49.9969254");
  EXPECT_EQ(Float(123456789.0f), "123456792");
  EXPECT_EQ(Float(1e10f), "1e+10");
  EXPECT_EQ(Float(std::numeric_limits<float>::infinity()), "null");
  EXPECT_EQ(Float(-std::numeric_limits<float>::infinity()), "null");
  EXPECT_EQ(Float(std::numeric_limits<float>::quiet_NaN()), "null");
  for (float f : {1.0f / 3.0f, 36000.0166f, -45.0000038f, 1e-30f, 3.4e38f, 1.17549435e-38f}) {
    EXPECT_EQ(std::strtof(Float(f).c_str(), nullptr), f) << Float(f);
  }
}

}  // namespace

}  // namespace brawl
