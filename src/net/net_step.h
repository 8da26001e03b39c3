#pragma once
#include <cstdint>

#include "sim/pass.h"

namespace brawl {

// One player's commands of one frame as they travel and are recorded: the seven controls and
// the spare button, then Enter and Space.
uint16_t PackCommands(const PlayerCommands& player, bool enter, bool space);
PlayerCommands UnpackCommands(uint16_t bits);

// The timer reading of online frame `frame`: both sides work it out alike from the seed the
// host chose, so the random source that the rules reseed from it agrees too.
float NetClock(uint32_t seed, int32_t frame);

// One frame of the online match: both players' commands, the speed factor exactly 1. Either
// player's Enter starts the two-player match, the only one offered; either's Space leaves the
// result screen.
PassEvents NetStep(Match& match, uint32_t seed, int32_t frame, uint16_t player1, uint16_t player2);

}  // namespace brawl
