#include "platform/sdl/sdl_keyboard.h"

#include <SDL.h>

#include <array>

namespace brawl {

namespace {

// Up to two positions per key. Keypad 1 and 3 also answer to End and Page Down, what they
// type with NumLock off, so that a keyboard without a keypad can still turn and fire;
// keypad 2 and 4 would mean Down and Left there, which player 1 already steers with.
struct Positions {
  SDL_Scancode first;
  SDL_Scancode second;
};

constexpr std::array<Positions, static_cast<size_t>(Key::Count)> kPositions = {{
    {SDL_SCANCODE_UP, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_DOWN, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_LEFT, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_RIGHT, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_KP_1, SDL_SCANCODE_END},
    {SDL_SCANCODE_KP_2, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_KP_3, SDL_SCANCODE_PAGEDOWN},
    {SDL_SCANCODE_KP_4, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_S, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_X, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_C, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_Z, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_N, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_B, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_M, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER},
    {SDL_SCANCODE_SPACE, SDL_SCANCODE_UNKNOWN},
    {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UNKNOWN},
}};

}  // namespace

bool SdlKeyboard::Held(Key key) {
  const size_t index = static_cast<size_t>(key);
  if (index >= kPositions.size()) return false;
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  auto down = [&](SDL_Scancode code) {
    return code != SDL_SCANCODE_UNKNOWN && code < count && state[code] != 0;
  };
  return down(kPositions[index].first) || down(kPositions[index].second);
}

}  // namespace brawl
