#include "platform/headless/scripted_input.h"

#include <algorithm>

namespace brawl {

namespace {

// Full travel one way or the other; both ways at once cancel out.
int16_t Axis(bool low, bool high) {
  if (low == high) return 0;
  return low ? int16_t{-32768} : int16_t{32767};
}

}  // namespace

ScriptedKeyboard::ScriptedKeyboard(const HeldInput& held) : held_(held) {
  UseKeyMap(DefaultKeyMap());
}

void ScriptedKeyboard::UseKeyMap(const KeyMap& keys) {
  const KeyMap script_keys = DefaultKeyMap();
  for (size_t key = 0; key < keys.size(); ++key) {
    placed_[key] = 0;
    for (size_t s = 0; s < script_keys.size(); ++s) {
      if (keys[key].At(script_keys[s].first)) placed_[key] |= 1u << s;
    }
  }
}

int ScriptedJoysticks::Open(int max) {
  open_ = std::clamp(std::min(attached_, max), 0, 2);
  return open_;
}

RawJoystick ScriptedJoysticks::Read(int index) {
  RawJoystick raw;
  if (index < 0 || index >= open_) return raw;
  raw.x = Axis(held_.Holds(index, StickControl::Left), held_.Holds(index, StickControl::Right));
  raw.y = Axis(held_.Holds(index, StickControl::Up), held_.Holds(index, StickControl::Down));
  for (int b = 0; b < 4; ++b) {
    raw.buttons[b] = held_.Holds(index, static_cast<StickControl>(static_cast<int>(StickControl::B0) + b));
  }
  return raw;
}

}  // namespace brawl
