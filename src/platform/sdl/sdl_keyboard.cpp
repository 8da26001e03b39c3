#include "platform/sdl/sdl_keyboard.h"

#include <SDL.h>

namespace brawl {

bool SdlKeyboard::Held(Key key) {
  const size_t index = static_cast<size_t>(key);
  if (index >= keys_.size()) return false;
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  auto down = [&](int code) { return code > 0 && code < count && state[code] != 0; };
  if (swallowed_ != 0 && !down(swallowed_)) swallowed_ = 0;
  auto counts = [&](int code) { return down(code) && code != swallowed_; };
  return counts(keys_[index].first) || counts(keys_[index].second);
}

}  // namespace brawl
