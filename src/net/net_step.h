#pragma once
#include <cstdint>

#include "net/packed_commands.h"
#include "sim/pass.h"

namespace brawl {

// The timer reading of online pass `pass`: both sides work it out alike from the seed the
// host chose, so the random source that the rules reseed from it agrees too.
float NetClock(uint32_t seed, int32_t pass);

// One pass of the online match: both players' commands, the speed factor exactly 1. Either
// player's Enter starts the two-player match, the only one offered; either's Space leaves the
// result screen.
PassEvents NetStep(Match& match, uint32_t seed, int32_t pass, CommandBits player1, CommandBits player2);

}  // namespace brawl
