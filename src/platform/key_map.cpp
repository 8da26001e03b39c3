#include "platform/controls.h"

namespace brawl {

namespace {

// Key positions by their USB HID usage numbers, which SDL's scancodes are (the controls
// test reads them back by SDL's names).
enum Place : int {
  kB = 5,
  kC = 6,
  kM = 16,
  kN = 17,
  kS = 22,
  kX = 27,
  kZ = 29,
  kReturn = 40,
  kEscape = 41,
  kSpace = 44,
  kF3 = 60,
  kEnd = 77,
  kPageDown = 78,
  kRight = 79,
  kLeft = 80,
  kDown = 81,
  kUp = 82,
  kKeypadEnter = 88,
  kKeypad1 = 89,
  kKeypad2 = 90,
  kKeypad3 = 91,
  kKeypad4 = 92,
};

}  // namespace

KeyMap DefaultKeyMap() {
  // Keypad 2 and 4 would mean Down and Left with NumLock off, which player 1 already
  // steers with, so only keypad 1 and 3 get their twins.
  return {{
      {kUp, 0},
      {kDown, 0},
      {kLeft, 0},
      {kRight, 0},
      {kKeypad1, kEnd},
      {kKeypad2, 0},
      {kKeypad3, kPageDown},
      {kKeypad4, 0},
      {kS, 0},
      {kX, 0},
      {kC, 0},
      {kZ, 0},
      {kN, 0},
      {kB, 0},
      {kM, 0},
      {kReturn, kKeypadEnter},
      {kSpace, 0},
      {kEscape, 0},
      {kF3, 0},
  }};
}

}  // namespace brawl
