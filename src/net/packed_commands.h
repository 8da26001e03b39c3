#pragma once
#include <cstdint>

#include "sim/commands.h"

namespace brawl {

// One player's commands of one pass as they travel and are recorded: the seven controls and
// the spare button, then Enter and Space.
uint16_t PackCommands(const PlayerCommands& player, bool enter, bool space);
PlayerCommands UnpackCommands(uint16_t bits);

}  // namespace brawl
