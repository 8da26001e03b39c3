#pragma once
#include <cstdint>

namespace brawl {

// Every key the game reads, by position.
enum class Key : uint8_t {
  Up,
  Down,
  Left,
  Right,
  Num1,
  Num2,
  Num3,
  Num4,
  S,
  X,
  C,
  Z,
  N,
  B,
  M,
  Enter,
  Space,
  Escape,
  F3,  // online: the network's figures on screen, or off
  Count
};

class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // Held or not at this moment, as the last event pump left it.
  virtual bool Held(Key key) = 0;
};

}  // namespace brawl
