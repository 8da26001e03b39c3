#include "input/joystick.h"

#include "input/joystick_axis.h"

namespace brawl {

void DiscoverJoysticks(JoystickState& joy, JoystickDevices& devices) {
  // Discovery never counts more than two, and never a pad it could not open.
  const int count = devices.Open(2);
  joy.JoystickCount = static_cast<int16_t>(count < 0 ? 0 : count > 2 ? 2 : count);
  joy.JoystickPresent = joy.JoystickCount > 0;
}

void PollJoystick(JoystickState& joy, JoystickDevices& devices, int player) {
  if (!joy.JoystickPresent || player < 0 || player > 1) return;
  const RawJoystick raw = devices.Read(player);
  joy.JoyX[player] = ConditionAxis(raw.x);
  joy.JoyY[player] = ConditionAxis(raw.y);
  for (int b = 0; b < 4; ++b) joy.JoyButton[player][b] = raw.buttons[b] ? 1 : 0;
}

}  // namespace brawl
