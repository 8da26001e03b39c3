#pragma once
#include <cstdint>

struct Game;

// One pass's command record: 21 entries of 128 (held) or 0.
struct Commands {
  // Player p's entries start at 8 * p.
  enum Entry : int {
    Forward = 0, Back = 1, Right = 2, Left = 3, TurnRight = 4, TurnLeft = 5, Fire = 6, Spare = 7,
    Enter = 18, Space = 19, Escape = 20
  };
  int16_t entry[21] = {};
  bool Pressed(int index) const { return entry[index] == 128; }
  bool Pressed(int player, Entry e) const { return entry[8 * player + e] == 128; }
};

Commands SampleCommands(Game& game);
