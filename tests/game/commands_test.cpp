#include "game/commands.h"

#include <gtest/gtest.h>

#include "game/game.h"
#include "support/fake_platform.h"

struct CommandsTest : ::testing::Test {
  FakePlatform fake;
  Game game{fake.platform};

  // The entries held at 128; every other entry must be exactly 0.
  std::vector<int> Held() {
    const Commands c = SampleCommands(game);
    std::vector<int> held;
    for (int e = 0; e < 21; ++e) {
      if (c.entry[e] == 128)
        held.push_back(e);
      else
        EXPECT_EQ(c.entry[e], 0) << "entry " << e;
    }
    return held;
  }
  void Hold(std::initializer_list<Key> keys) { fake.keyboard.held = keys; }
};

TEST_F(CommandsTest, EachKeyFillsItsOwnEntry) {
  Hold({Key::Up, Key::Down, Key::Right, Key::Left, Key::Num2, Key::Num1, Key::Num3, Key::Num4});
  EXPECT_EQ(Held(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  Hold({Key::S, Key::X, Key::C, Key::Z, Key::N, Key::B, Key::M});
  EXPECT_EQ(Held(), (std::vector<int>{8, 9, 10, 11, 12, 13, 14}));  // no Spare for player 2
  Hold({Key::Enter, Key::Space, Key::Escape});
  EXPECT_EQ(Held(), (std::vector<int>{18, 19, 20}));
  Hold({});
  EXPECT_TRUE(Held().empty());
}

TEST_F(CommandsTest, AJoystickPlayerIsNotSteeredByKeysButTheSharedKeysStillAct) {
  game.settings.UseJoystick[1] = -1;
  fake.joysticks.attached = 2;
  game.joy.JoystickPresent = -1;
  Hold({Key::S, Key::M, Key::Up, Key::Enter, Key::Escape});
  EXPECT_EQ(Held(), (std::vector<int>{0, 18, 20}));

  RawJoystick& stick = fake.joysticks.reading[1];
  stick.x = -32768;  // full left
  stick.y = 32767;   // full down
  stick.buttons[0] = stick.buttons[2] = stick.buttons[3] = true;
  Hold({});
  EXPECT_EQ(Held(), (std::vector<int>{8 + Commands::Back, 8 + Commands::Left, 8 + Commands::TurnRight,
                                      8 + Commands::Fire, 8 + Commands::Spare}));
  stick = RawJoystick{};
  stick.x = 32767;
  stick.y = -32768;
  stick.buttons[1] = true;
  EXPECT_EQ(Held(), (std::vector<int>{8 + Commands::Forward, 8 + Commands::Right, 8 + Commands::TurnLeft}));
}

TEST_F(CommandsTest, AJoystickPlayerWithoutADeviceCommandsNothing) {
  game.settings.UseJoystick[0] = -1;
  Hold({Key::Up, Key::Num3});
  EXPECT_TRUE(Held().empty());
}

TEST_F(CommandsTest, AnUnknownChoiceLeavesTheBlockEmpty) {
  game.settings.UseJoystick[0] = 1;
  Hold({Key::Up, Key::S});
  EXPECT_EQ(Held(), (std::vector<int>{8}));
}
