#pragma once
#include "platform/keyboard.h"

namespace brawl {

// The keyboard as SDL's last event pump left it, by key position.
class SdlKeyboard final : public Keyboard {
 public:
  bool Held(Key key) override;
};

}  // namespace brawl
