#pragma once
#include "platform/headless/input_script.h"
#include "platform/joystick_devices.h"
#include "platform/keyboard.h"

namespace brawl {

// The keyboard of a headless run: holds what the script says for the current pass.
class ScriptedKeyboard : public Keyboard {
 public:
  explicit ScriptedKeyboard(const HeldInput& held) : held_(held) {}
  bool Held(Key key) override { return held_.Holds(key); }

 private:
  const HeldInput& held_;
};

// The joysticks of a headless run: as many as the command line attaches, moved by the
// script.
class ScriptedJoysticks : public JoystickDevices {
 public:
  ScriptedJoysticks(int attached, const HeldInput& held) : attached_(attached), held_(held) {}
  int Open(int max) override;
  RawJoystick Read(int index) override;

 private:
  int attached_;
  int open_ = 0;
  const HeldInput& held_;
};

}  // namespace brawl
