#pragma once
#include <string>

#include "picture.h"

namespace brawl {

// Both fighters are drawn in a 64 x 64 design space; the sprite shows them 1:1 and the
// title picture reuses them.
constexpr int kFighterSize = 64;
constexpr Rgb kOutline{22, 18, 38};

// player 0 is the cool-coloured fighter, player 1 the warm one.
void DrawFighter(Picture& picture, int player, double dx, double dy, double scale, bool mirror);
void WriteFighters(const std::string& folder);

}  // namespace brawl
