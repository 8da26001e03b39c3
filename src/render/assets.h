#pragma once
#include <string>

#include "platform/scene/scene.h"
#include "render/graphics.h"

namespace brawl {

// Loads the overlay's bitmaps, the sprites and the arena from `folder` (the sprites from the
// working folder first) and builds the scene with its cameras, at the back buffer's size.
void LoadAssets(Graphics& gfx, Scene& scene, const std::string& folder);

}  // namespace brawl
