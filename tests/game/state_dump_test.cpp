#include "game/state_dump.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace brawl {

namespace {

std::string Float(float value) {
  std::string out;
  AppendDumpFloat(out, value);
  return out;
}

// The committed scripted runs pin the dump's numbers as a match makes them; here what no match
// reaches: negative zero, values that are not finite, and extremes that must still read back.
TEST(DumpFloat, NegativeZeroNonFiniteAndExtremesReadBack) {
  EXPECT_EQ(Float(-0.0f), "-0");
  EXPECT_EQ(Float(std::numeric_limits<float>::infinity()), "null");
  EXPECT_EQ(Float(-std::numeric_limits<float>::infinity()), "null");
  EXPECT_EQ(Float(std::numeric_limits<float>::quiet_NaN()), "null");
  for (float f : {1.0f / 3.0f, 36000.0166f, -45.0000038f, 1e-30f, 3.4e38f, 1.17549435e-38f}) {
    EXPECT_EQ(std::strtof(Float(f).c_str(), nullptr), f) << Float(f);
  }
}

}  // namespace

}  // namespace brawl
