#pragma once
#include <array>
#include <cstddef>
#include <string>

#include "platform/keyboard.h"

namespace brawl {

// Where one of the game's keys is on the keyboard: SDL scancode numbers, 0 for none. A
// second place lets keypad 1 and 3 also answer to what they type with NumLock off.
struct KeyPlaces {
  int first = 0;
  int second = 0;
  bool operator==(const KeyPlaces&) const = default;
  bool At(int scancode) const { return scancode != 0 && (first == scancode || second == scancode); }
};

using KeyMap = std::array<KeyPlaces, static_cast<size_t>(Key::Count)>;

// The keys as the game has always had them.
KeyMap DefaultKeyMap();

// How the players play: the keyboard places of their keys, and which gamepad each takes
// (its place in the list from 1, its name or its GUID; empty: the next one there is).
struct Controls {
  KeyMap keys = DefaultKeyMap();
  std::array<std::string, 2> pads;
};

}  // namespace brawl
