#include "platform/sdl/sdl_key_names.h"

#include <SDL.h>

#include "platform/controls.h"

namespace brawl {

int ScancodeOfKeyName(const std::string& name) {
  if (name.empty()) return 0;
  return SDL_GetScancodeFromName(name.c_str());
}

std::string KeyNameOf(int scancode) {
  if (scancode <= SDL_SCANCODE_UNKNOWN || scancode >= SDL_NUM_SCANCODES) return {};
  return SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode));
}

}  // namespace brawl
