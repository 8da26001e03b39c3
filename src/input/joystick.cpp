#include "input/joystick.h"

#include "game/game.h"
#include "input/joystick_axis.h"

void DiscoverJoysticks(Game& game) {
  JoystickState& joy = game.joy;
  // Discovery never counts more than two, and never a pad it could not open.
  const int count = game.platform.joysticks.Open(2);
  joy.JoystickCount = static_cast<int16_t>(count < 0 ? 0 : count > 2 ? 2 : count);
  joy.JoystickPresent = joy.JoystickCount > 0 ? -1 : 0;
}

void PollJoystick(Game& game, int player) {
  JoystickState& joy = game.joy;
  if (joy.JoystickPresent == 0 || player < 0 || player > 1) return;
  const RawJoystick raw = game.platform.joysticks.Read(player);
  joy.JoyX[player] = ConditionAxis(raw.x);
  joy.JoyY[player] = ConditionAxis(raw.y);
  for (int b = 0; b < 4; ++b) joy.JoyButton[player][b] = raw.buttons[b] ? 1 : 0;
}
