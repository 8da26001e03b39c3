#pragma once
#include <cstdint>
#include <string>

#include "game/loop_state.h"
#include "sim/match.h"
#include "sound/sound_slots.h"

namespace brawl {

struct Game;

// One line of the headless dump: the game's state as one JSON object, without the line
// end. `Sounds` lists game.sound.Requested; the caller clears it after writing.
std::string StateDumpLine(const Game& game, int64_t pass);
// The same for a match kept apart from the game's own (online play's confirmed frames), with
// `extra` (",\"Net\":{...}") added as the last fields.
std::string StateDumpLine(const Match& match, const LoopState& loop, const SoundSlots& sound, int64_t pass,
                          const std::string& extra);

// A 32-bit float as the dump writes it: nine significant digits, "-0" for negative zero,
// null when not finite.
void AppendDumpFloat(std::string& out, float value);

}  // namespace brawl
