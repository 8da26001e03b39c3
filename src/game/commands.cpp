#include "game/commands.h"

#include "game/game.h"
#include "input/joystick.h"
#include "platform/keyboard.h"

namespace {

constexpr int16_t kHeld = 128;

struct Binding {
  Commands::Entry entry;
  Key key;
};

// In the order the keys are read. Player 2 has no Spare key.
constexpr Binding kPlayer1Keys[] = {{Commands::Forward, Key::Up},     {Commands::Back, Key::Down},
                                    {Commands::Right, Key::Right},    {Commands::Left, Key::Left},
                                    {Commands::TurnRight, Key::Num2}, {Commands::TurnLeft, Key::Num1},
                                    {Commands::Fire, Key::Num3},      {Commands::Spare, Key::Num4}};
constexpr Binding kPlayer2Keys[] = {{Commands::Forward, Key::S},   {Commands::Back, Key::X},
                                    {Commands::Right, Key::C},     {Commands::Left, Key::Z},
                                    {Commands::TurnRight, Key::N}, {Commands::TurnLeft, Key::B},
                                    {Commands::Fire, Key::M}};

int16_t KeyEntry(Game& game, Key key) {
  return game.platform.keyboard.Held(key) ? kHeld : int16_t{0};
}

// One joystick axis gives at most one of its two directions.
void SampleAxis(int32_t value, int16_t& negative, int16_t& positive) {
  negative = value == -1 ? kHeld : int16_t{0};
  positive = value == 1 ? kHeld : int16_t{0};
}

void SampleJoystick(Game& game, int i, int16_t* block) {
  PollJoystick(game, i);
  const JoystickState& joy = game.joy;
  SampleAxis(joy.JoyX[i], block[Commands::Left], block[Commands::Right]);
  SampleAxis(joy.JoyY[i], block[Commands::Forward], block[Commands::Back]);
  const Commands::Entry buttons[4] = {Commands::TurnRight, Commands::TurnLeft, Commands::Fire,
                                      Commands::Spare};
  for (int b = 0; b < 4; ++b) block[buttons[b]] = joy.JoyButton[i][b] == 1 ? kHeld : int16_t{0};
}

}  // namespace

Commands SampleCommands(Game& game) {
  Commands commands;
  for (int i = 0; i < 2; ++i) {
    int16_t* block = commands.entry + 8 * i;
    const int16_t use_joystick = game.settings.UseJoystick[i];
    if (use_joystick == -1) {
      SampleJoystick(game, i, block);
    } else if (use_joystick == 0) {
      if (i == 0) {
        for (const Binding& b : kPlayer1Keys) block[b.entry] = KeyEntry(game, b.key);
      } else {
        for (const Binding& b : kPlayer2Keys) block[b.entry] = KeyEntry(game, b.key);
      }
    }
  }
  // The shared keys always come from the keyboard, whatever the players steer with.
  commands.entry[Commands::Enter] = KeyEntry(game, Key::Enter);
  commands.entry[Commands::Space] = KeyEntry(game, Key::Space);
  commands.entry[Commands::Escape] = KeyEntry(game, Key::Escape);
  return commands;
}
