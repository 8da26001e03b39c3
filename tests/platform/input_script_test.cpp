#include "platform/headless/input_script.h"

#include <gtest/gtest.h>

#include <string>

#include "base/fatal_error.h"

namespace brawl {

namespace {

InputScript Parse(const std::string& text, int joysticks = 0) {
  return ParseInputScript(text, joysticks, "s");
}

TEST(InputScript, StepsKeepTheirCountsKeysAndJoystickControls) {
  const InputScript s = Parse("# start\n1 Enter\n\n120 Up Num3   # walk and fire\n\t5\t\n3 Escape\n");
  ASSERT_EQ(s.steps.size(), 4u);
  EXPECT_EQ(s.passes, 1 + 120 + 5 + 3);
  EXPECT_EQ(s.steps[0].count, 1);
  EXPECT_EQ(s.steps[0].held.keys, 1u << static_cast<int>(Key::Enter));
  EXPECT_EQ(s.steps[1].held.keys, (1u << static_cast<int>(Key::Up)) | (1u << static_cast<int>(Key::Num3)));
  EXPECT_EQ(s.steps[2].held.keys, 0u);  // a count alone holds nothing
  EXPECT_TRUE(s.steps[3].held.Holds(Key::Escape));
  const InputScript all =
      Parse("1 Up Down Left Right Num1 Num2 Num3 Num4 S X C Z N B M Enter Space Escape F3\n");
  EXPECT_EQ(all.steps[0].held.keys, (1u << static_cast<int>(Key::Count)) - 1);
  const HeldInput h = Parse("2 J1.Left J1.B0 J2.Down J2.B3 J2.Right\n", 2).steps[0].held;
  EXPECT_EQ(h.joystick[0],
            (1 << static_cast<int>(StickControl::Left)) | (1 << static_cast<int>(StickControl::B0)));
  EXPECT_EQ(h.joystick[1], (1 << static_cast<int>(StickControl::Down)) |
                               (1 << static_cast<int>(StickControl::B3)) |
                               (1 << static_cast<int>(StickControl::Right)));
  EXPECT_EQ(h.keys, 0u);
  EXPECT_TRUE(Parse("# nothing\n\n   \n#1 Enter\n").steps.empty());
  EXPECT_EQ(Parse("0000000000000000000000000001 Up\n").passes, 1);
  EXPECT_EQ(Parse("1000000000 Up\n").passes, 1000000000);  // the last count accepted
}

// Comments and blank lines count as lines; the last line counts without its line end.
// Bad lines are corpus files of the damaged-input test (fuzz/corpus/input_script/refused_*).

TEST(InputScript, CursorWalksTheStepsThenHoldsNothing) {
  const InputScript s = Parse("2 Up\n1 Down\n");
  ScriptCursor cursor;
  EXPECT_TRUE(NextHeld(s, cursor).Holds(Key::Up));
  EXPECT_TRUE(NextHeld(s, cursor).Holds(Key::Up));
  EXPECT_EQ(NextHeld(s, cursor).keys, 1u << static_cast<int>(Key::Down));
  EXPECT_EQ(NextHeld(s, cursor).keys, 0u);
  EXPECT_EQ(NextHeld(s, cursor).keys, 0u);
  // A billion-pass hold is one step.
  const InputScript billion = Parse("1000000000 Up\n1000000000 Down\n");
  EXPECT_EQ(billion.steps.size(), 2u);
  EXPECT_EQ(billion.passes, 2000000000);
  ScriptCursor late{0, 999999999};
  EXPECT_TRUE(NextHeld(billion, late).Holds(Key::Up));
  EXPECT_TRUE(NextHeld(billion, late).Holds(Key::Down));
}

}  // namespace

}  // namespace brawl
