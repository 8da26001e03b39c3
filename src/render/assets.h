#pragma once
#include <string>

#include "render/graphics.h"
#include "render/scene.h"

namespace brawl {

// Loads the overlay's bitmaps, the sprites and the arena from the data folder (ending in '/')
// and builds the scene with its cameras, at the back buffer's size.
void LoadAssets(Graphics& gfx, Scene& scene, const std::string& data_folder);

}  // namespace brawl
