#include "platform/headless/input_script.h"

#include <gtest/gtest.h>

#include <string>

#include "base/fatal_error.h"

namespace brawl {

namespace {

InputScript Parse(const std::string& text, int joysticks = 0) {
  return ParseInputScript(text, joysticks, "s");
}

// The committed scripted runs read scripts of every ordinary kind (counts, keys, joysticks,
// comments, a count alone); here what they do not reach. Bad lines are corpus files of the
// damaged-input test (fuzz/corpus/input_script/refused_*).
TEST(InputScript, EveryKeyNameAndTheLongestCountsAreTaken) {
  const InputScript all =
      Parse("1 Up Down Left Right Num1 Num2 Num3 Num4 S X C Z N B M Enter Space Escape F3\n");
  EXPECT_EQ(all.steps[0].held.keys, (1u << static_cast<int>(Key::Count)) - 1);
  EXPECT_EQ(Parse("0000000000000000000000000001 Up\n").passes, 1);
  // A billion-pass hold is one step, the last count accepted; the cursor walks past it.
  const InputScript billion = Parse("1000000000 Up\n1000000000 Down\n");
  EXPECT_EQ(billion.steps.size(), 2u);
  EXPECT_EQ(billion.passes, 2000000000);
  ScriptCursor late{0, 999999999};
  EXPECT_TRUE(NextHeld(billion, late).Holds(Key::Up));
  EXPECT_TRUE(NextHeld(billion, late).Holds(Key::Down));
}

}  // namespace

}  // namespace brawl
