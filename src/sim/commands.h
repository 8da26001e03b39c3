#pragma once

namespace brawl {

// What one player asks for in a pass.
struct PlayerCommands {
  bool forward = false, back = false, right = false, left = false;
  bool turn_right = false, turn_left = false, fire = false;
  bool spare = false;  // the fourth button; read, and used by nothing
};

// One pass's commands: both players' and the shared keys.
struct Commands {
  PlayerCommands player[2];
  bool enter = false, space = false, escape = false;
};

}  // namespace brawl
