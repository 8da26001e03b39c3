// Built into the platform library, not the real machine's: the headless run reads the
// same key names.
#include "platform/key_names.h"

#include <SDL.h>

#include "platform/controls.h"

namespace brawl {

KeyMap DefaultKeyMap() {
  // Keypad 2 and 4 would mean Down and Left with NumLock off, which player 1 already
  // steers with, so only keypad 1 and 3 get their twins.
  return {{
      {SDL_SCANCODE_UP, 0},
      {SDL_SCANCODE_DOWN, 0},
      {SDL_SCANCODE_LEFT, 0},
      {SDL_SCANCODE_RIGHT, 0},
      {SDL_SCANCODE_KP_1, SDL_SCANCODE_END},
      {SDL_SCANCODE_KP_2, 0},
      {SDL_SCANCODE_KP_3, SDL_SCANCODE_PAGEDOWN},
      {SDL_SCANCODE_KP_4, 0},
      {SDL_SCANCODE_S, 0},
      {SDL_SCANCODE_X, 0},
      {SDL_SCANCODE_C, 0},
      {SDL_SCANCODE_Z, 0},
      {SDL_SCANCODE_N, 0},
      {SDL_SCANCODE_B, 0},
      {SDL_SCANCODE_M, 0},
      {SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER},
      {SDL_SCANCODE_SPACE, 0},
      {SDL_SCANCODE_ESCAPE, 0},
  }};
}

int ScancodeOfKeyName(const std::string& name) {
  if (name.empty()) return 0;
  return SDL_GetScancodeFromName(name.c_str());
}

std::string KeyNameOf(int scancode) {
  if (scancode <= SDL_SCANCODE_UNKNOWN || scancode >= SDL_NUM_SCANCODES) return {};
  return SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode));
}

}  // namespace brawl
