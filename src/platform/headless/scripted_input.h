#pragma once
#include <array>
#include <cstdint>

#include "platform/controls.h"
#include "platform/headless/input_script.h"
#include "platform/joystick_devices.h"
#include "platform/keyboard.h"

namespace brawl {

// The keyboard of a headless run: holds what the script says for the current pass. The
// script names keys where they are by default; a key map moves the game's keys among them.
class ScriptedKeyboard : public Keyboard {
 public:
  explicit ScriptedKeyboard(const HeldInput& held);
  bool Held(Key key) override { return (held_.keys & placed_[static_cast<size_t>(key)]) != 0; }
  void UseKeyMap(const KeyMap& keys);

 private:
  const HeldInput& held_;
  std::array<uint32_t, static_cast<size_t>(Key::Count)> placed_{};  // script keys that play each key
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
