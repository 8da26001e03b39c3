#pragma once
#include <string>

namespace brawl {

// The arena mesh: the playing floor (0 <= X <= 100, -100 <= Z <= 0), its kerb, the ground
// around it and landmarks on every side; and the textures it names.
void WriteArena(const std::string& folder);

}  // namespace brawl
