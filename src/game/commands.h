#pragma once
#include "sim/commands.h"

namespace brawl {

struct Game;

// Reads both players' keys or joysticks, as the settings chose, and the shared keys.
Commands SampleCommands(Game& game);

}  // namespace brawl
