#include "app/controls_ini.h"

#include <gtest/gtest.h>

#include <string>

#include "base/fatal_error.h"
#include "platform/sdl/sdl_key_names.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

size_t Index(Key key) {
  return static_cast<size_t>(key);
}

TEST(ControlsIni, KeysAndPadsAreTakenAsNamed) {
  const Controls c = ParseControls(
      "# mine\r\n[player2]\nfire = Right Shift\n  gamepad = Xbox 360 Controller \n[player1]\nturn_left=q\n"
      "fire = End\ngamepad=2\n",
      "c.ini");
  EXPECT_EQ(c.keys[Index(Key::M)].first, ScancodeOfKeyName("Right Shift"));
  EXPECT_EQ(c.keys[Index(Key::Num1)].first, ScancodeOfKeyName("Q"));
  EXPECT_EQ(c.keys[Index(Key::Num1)].second, 0);
  // Fire moved onto keypad 1's NumLock twin: the twin is fire's alone now.
  EXPECT_EQ(c.keys[Index(Key::Num3)], (KeyPlaces{ScancodeOfKeyName("End"), 0}));
  EXPECT_EQ(c.keys[Index(Key::Up)], DefaultKeyMap()[Index(Key::Up)]);
  EXPECT_EQ(c.pads, (std::array<std::string, 2>{"2", "Xbox 360 Controller"}));
  // Player 1's spare button gives its key up to the command that takes it.
  const Controls spare = ParseControls("[player1]\nturn_right = Keypad 4\n", "c.ini");
  EXPECT_EQ(spare.keys[Index(Key::Num2)].first, ScancodeOfKeyName("Keypad 4"));
  EXPECT_EQ(spare.keys[Index(Key::Num4)], KeyPlaces{});
}

// The cases are tests/app/controls_faults.tsv.
TEST(ControlsIni, FaultsNameTheFileAndLine) {
  for (const auto& row : Rows("tests/app/controls_faults.tsv")) {
    const std::string &text = row[0], line = ":" + row[1] + ":", &fragment = row[2];
    try {
      ParseControls(text, "/home/p/controls.ini");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const FatalError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("/home/p/controls.ini" + line), std::string::npos) << message;
      EXPECT_NE(message.find(fragment), std::string::npos) << message;
      EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
  }
}

}  // namespace

}  // namespace brawl
