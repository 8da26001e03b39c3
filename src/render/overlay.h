#pragma once
#include "render/graphics.h"
#include "sim/match.h"

namespace brawl {

// The 2-D layer over the 3-D views: the title and its cursor, the life bars, the result.
void DrawOverlay(Graphics& gfx, const Match& match, Mode mode);

}  // namespace brawl
