#pragma once
#include <cstdint>

#include "sim/commands.h"

namespace brawl {

// One player's commands of one pass as bits, as they travel and are recorded: the seven
// controls and the spare button (bits 0-7), then Enter and Space (bits 8 and 9).
using CommandBits = uint16_t;

CommandBits PackCommands(const PlayerCommands& player, bool enter, bool space);
PlayerCommands UnpackCommands(CommandBits bits);

}  // namespace brawl
