#include "platform/headless/input_script.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fatal_error.h"

namespace brawl {

namespace {

InputScript Parse(const std::string& text, int joysticks = 0) {
  return ParseInputScript(text, joysticks, "s");
}

std::string Refusal(const std::string& text, int joysticks = 0) {
  try {
    Parse(text, joysticks);
  } catch (const UsageError& e) {
    return e.what();
  }
  return "";
}

TEST(InputScript, StepsKeepTheirCountsAndKeys) {
  const InputScript s = Parse("# start\n1 Enter\n\n120 Up Num3   # walk and fire\n\t5\t\n3 Escape\n");
  ASSERT_EQ(s.steps.size(), 4u);
  EXPECT_EQ(s.passes, 1 + 120 + 5 + 3);
  EXPECT_EQ(s.steps[0].count, 1);
  EXPECT_TRUE(s.steps[0].held.Holds(Key::Enter));
  EXPECT_FALSE(s.steps[0].held.Holds(Key::Up));
  EXPECT_TRUE(s.steps[1].held.Holds(Key::Up));
  EXPECT_TRUE(s.steps[1].held.Holds(Key::Num3));
  EXPECT_FALSE(s.steps[1].held.Holds(Key::Enter));
  EXPECT_EQ(s.steps[2].held.keys, 0u);  // a count alone holds nothing
  EXPECT_TRUE(s.steps[3].held.Holds(Key::Escape));
}

TEST(InputScript, EveryKeyNameIsKnown) {
  const InputScript s = Parse("1 Up Down Left Right Num1 Num2 Num3 Num4 S X C Z N B M Enter Space Escape\n");
  EXPECT_EQ(s.steps[0].held.keys, (1u << static_cast<int>(Key::Count)) - 1);
}

TEST(InputScript, JoystickNames) {
  const InputScript s = Parse("2 J1.Left J1.B0 J2.Down J2.B3 J2.Right\n", 2);
  const HeldInput& h = s.steps[0].held;
  EXPECT_TRUE(h.Holds(0, StickControl::Left));
  EXPECT_TRUE(h.Holds(0, StickControl::B0));
  EXPECT_FALSE(h.Holds(0, StickControl::Right));
  EXPECT_TRUE(h.Holds(1, StickControl::Down));
  EXPECT_TRUE(h.Holds(1, StickControl::Right));
  EXPECT_TRUE(h.Holds(1, StickControl::B3));
  EXPECT_EQ(h.keys, 0u);
}

TEST(InputScript, BadLinesNameTheirPhysicalLine) {
  // Comments and blank lines count as lines.
  EXPECT_NE(Refusal("# one\n\n1 Enter\n2 up\n").find("line 4"), std::string::npos);
  EXPECT_NE(Refusal("1 Enter\r\n\r\n1 UP\r\n").find("line 3"), std::string::npos);
  EXPECT_NE(Refusal("Enter\n").find("line 1"), std::string::npos);
  EXPECT_NE(Refusal("1 Enter\n0 Up\n").find("line 2"), std::string::npos);
  EXPECT_NE(Refusal("1 Enter\n\n\n1000000001 Up\n").find("line 4"), std::string::npos);
  EXPECT_NE(Refusal("-1 Up\n").find("line 1"), std::string::npos);
  EXPECT_NE(Refusal("+1 Up\n").find("line 1"), std::string::npos);
  EXPECT_NE(Refusal("1.0 Up\n").find("line 1"), std::string::npos);
  EXPECT_NE(Refusal("0x10 Up\n").find("line 1"), std::string::npos);
  EXPECT_NE(Refusal("99999999999999999999999999 Up\n").find("line 1"), std::string::npos);
  EXPECT_NE(Refusal("1 Enter\n1 Up,Down\n").find("line 2"), std::string::npos);
  EXPECT_NE(Refusal("1 Enter\n1 J1.left\n", 2).find("line 2"), std::string::npos);
  EXPECT_NE(Refusal("1 J3.Left\n", 2).find("line 1"), std::string::npos);
  EXPECT_NE(Refusal("1 J1.\n", 2).find("line 1"), std::string::npos);
  // The last line counts without its line end.
  EXPECT_NE(Refusal("1 Enter\n# c\n2 Jump").find("line 3"), std::string::npos);
}

TEST(InputScript, MessagesNameTheScriptAndTheWord) {
  const std::string message = Refusal("1 Up\n1 Fire\n");
  EXPECT_NE(message.find("s, line 2"), std::string::npos) << message;
  EXPECT_NE(message.find("Fire"), std::string::npos) << message;
  EXPECT_EQ(message.find('\n'), std::string::npos);
}

TEST(InputScript, NamesAreCaseSensitive) {
  for (const char* word : {"up", "UP", "enter", "num1", "s", "escape", "j1.Left", "J1.left", "J1.b0"}) {
    EXPECT_FALSE(Refusal(std::string("1 ") + word + "\n", 2).empty()) << word;
  }
}

TEST(InputScript, OnlyAttachedJoysticksMayBeNamed) {
  EXPECT_NE(Refusal("1 J1.Left\n", 0).find("joystick 1"), std::string::npos);
  EXPECT_NE(Refusal("1 Up\n1 J2.B0\n", 1).find("line 2"), std::string::npos);
  EXPECT_TRUE(Refusal("1 J1.B0\n", 1).empty());
}

TEST(InputScript, CountLimits) {
  // Passes 0: the count is refused.
  const std::pair<const char*, int64_t> counts[] = {{"0", 0},
                                                    {"1", 1},
                                                    {"1000000000", 1000000000},
                                                    {"1000000001", 0},
                                                    {"0000000000000000000000000001", 1},
                                                    {"0000000000000000000001000000001", 0}};
  for (const auto& [count, passes] : counts) {
    const std::string line = std::string(count) + " Up\n";
    if (passes == 0) {
      EXPECT_NE(Refusal(line).find("line 1"), std::string::npos) << count;
    } else {
      EXPECT_EQ(Parse(line).passes, passes) << count;
    }
  }
}

TEST(InputScript, NoStepsFromCommentsAndBlanks) {
  EXPECT_TRUE(Parse("").steps.empty());
  EXPECT_TRUE(Parse("# nothing\n\n   \n#1 Enter\n").steps.empty());
}

TEST(InputScript, CursorWalksTheStepsThenHoldsNothing) {
  const InputScript s = Parse("2 Up\n1 Down\n");
  ScriptCursor cursor;
  EXPECT_TRUE(NextHeld(s, cursor).Holds(Key::Up));
  EXPECT_TRUE(NextHeld(s, cursor).Holds(Key::Up));
  const HeldInput third = NextHeld(s, cursor);
  EXPECT_TRUE(third.Holds(Key::Down));
  EXPECT_FALSE(third.Holds(Key::Up));
  EXPECT_EQ(NextHeld(s, cursor).keys, 0u);
  EXPECT_EQ(NextHeld(s, cursor).keys, 0u);
}

TEST(InputScript, BillionPassHoldIsOneStep) {
  const InputScript s = Parse("1000000000 Up\n1000000000 Down\n");
  EXPECT_EQ(s.steps.size(), 2u);
  EXPECT_EQ(s.passes, 2000000000);
  ScriptCursor cursor{0, 999999999};
  EXPECT_TRUE(NextHeld(s, cursor).Holds(Key::Up));
  EXPECT_TRUE(NextHeld(s, cursor).Holds(Key::Down));
}

}  // namespace

}  // namespace brawl
