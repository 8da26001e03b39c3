#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keyboard.h"

namespace brawl {

// Joystick controls as a script names them after "J1." or "J2.".
enum class StickControl : uint8_t { Left, Right, Up, Down, B0, B1, B2, B3, Count };

// Everything held during one pass.
struct HeldInput {
  uint32_t keys = 0;             // bit k: Key(k)
  uint8_t joystick[2] = {0, 0};  // bit c: StickControl(c)

  bool Holds(Key key) const { return (keys >> static_cast<int>(key)) & 1u; }
  bool Holds(int stick, StickControl c) const { return (joystick[stick] >> static_cast<int>(c)) & 1u; }
};

// One line of the script: what is held, and for how many passes. Kept with its count so
// that a long hold costs no memory per pass.
struct ScriptStep {
  int64_t count = 0;
  HeldInput held;
};

struct InputScript {
  std::vector<ScriptStep> steps;
  int64_t passes = 0;  // all counts added up
};

// Checks and reads a whole script. `joysticks` is how many are attached; naming another
// one is an error. `source` names the script in messages. Throws UsageError naming the
// line.
InputScript ParseInputScript(std::string_view text, int joysticks, const std::string& source);
// Reads the script line by line from a file or a pipe, or from standard input for "-". A
// file that cannot be read, or a line too long for a script, throws UsageError too.
InputScript ReadInputScript(const std::string& path, int joysticks);

// Where a run stands in its script.
struct ScriptCursor {
  size_t step = 0;
  int64_t used = 0;  // passes already taken from that step
};

// What the next pass holds; nothing once the script has run out.
HeldInput NextHeld(const InputScript& script, ScriptCursor& cursor);

}  // namespace brawl
