#pragma once
#include <string>

namespace brawl {

struct Game;

// The picture of a pass: the 3-D views, the overlay, the frame rate in a match, then the flip.
void Present(Game& game);
// "320X240  fps  60.0"
std::string FpsLineText(int width, int height, float fps);

}  // namespace brawl
