#pragma once
#include <cstdint>

namespace brawl {

// A joystick as the platform reads it, before the game's conditioning.
struct RawJoystick {
  int16_t x = 0;  // -32768 (left) .. 32767 (right)
  int16_t y = 0;  // -32768 (up) .. 32767 (down)
  bool buttons[4] = {false, false, false, false};
};

class JoystickDevices {
 public:
  virtual ~JoystickDevices() = default;
  // Opens up to `max` attached joysticks in the platform's order; a device that cannot
  // be opened is skipped. Returns how many are open.
  virtual int Open(int max) = 0;
  // Reads joystick `index` (0 or 1). One that has gone away reads centred with no
  // button held, and reads again once it is back.
  virtual RawJoystick Read(int index) = 0;
};

}  // namespace brawl
