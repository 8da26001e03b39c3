#pragma once
#include <cstdint>

namespace brawl {

// Joysticks in the game's terms.
struct JoystickState {
  int16_t JoystickCount = 0;
  bool JoystickPresent = false;
  int32_t JoyX[2] = {0, 0};  // -1 left, 0, 1 right
  int32_t JoyY[2] = {0, 0};  // -1 up, 0, 1 down
  int32_t JoyButton[2][4] = {};
};

}  // namespace brawl
