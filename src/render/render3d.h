#pragma once
#include "render/graphics.h"
#include "render/scene.h"
#include "sim/match.h"

namespace brawl {

// One view for the one-player match, two side by side for the two-player match.
void SetUpViewports(Graphics& gfx, Mode mode);
// Online: this side's player's view on the whole screen, drawn as the one-player match's.
void SetUpOnlineView(Graphics& gfx, int player);
// Draws the match's views into the back buffer; the title and result screens draw none.
void Render3D(Graphics& gfx, Scene& scene, const Match& match, Mode mode);

}  // namespace brawl
