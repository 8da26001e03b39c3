#pragma once
#include "sim/commands.h"

namespace brawl {

struct Game;

// Reads both players' keys or joysticks, as the settings chose, and the shared keys.
Commands SampleCommands(Game& game);
// This pass's commands from the one source the run has: the players, or a replay (whose
// watcher may still leave with Escape); a recording keeps them.
Commands ReadCommands(Game& game);

}  // namespace brawl
