#pragma once
#include <cstdint>
#include <string>

namespace brawl {

struct Game;

// One line of the headless dump: the game's state as one JSON object, without the line
// end. `Sounds` lists game.sound.requested; the caller clears it after writing.
std::string StateDumpLine(const Game& game, int64_t pass);

// A 32-bit float as the dump writes it: nine significant digits, "-0" for negative zero,
// null when not finite.
void AppendDumpFloat(std::string& out, float value);

}  // namespace brawl
