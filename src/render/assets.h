#pragma once
#include <string>

#include "platform/scene/scene.h"
#include "render/graphics.h"

namespace brawl {

// Where the game's files are: the data folder, and the executable's own folder (empty when
// it is the data folder).
struct Folders {
  std::string data;
  std::string program;
};

// Loads the overlay's bitmaps, the sprites and the arena from the data folder (the sprites and
// textures from the working folder, then the program folder, first) and builds the scene with
// its cameras, at the back buffer's size.
void LoadAssets(Graphics& gfx, Scene& scene, const Folders& folders);

}  // namespace brawl
