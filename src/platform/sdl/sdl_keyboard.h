#pragma once
#include "platform/controls.h"
#include "platform/keyboard.h"

namespace brawl {

// The keyboard as SDL's last event pump left it, by key position.
class SdlKeyboard final : public Keyboard {
 public:
  bool Held(Key key) override;

  void UseKeyMap(const KeyMap& keys) { keys_ = keys; }
  // The key at `scancode` reads as released until it is let go: the Enter of Alt+Enter
  // belongs to the window, not to the game.
  void Swallow(int scancode) { swallowed_ = scancode; }

 private:
  KeyMap keys_ = DefaultKeyMap();
  int swallowed_ = 0;
};

}  // namespace brawl
