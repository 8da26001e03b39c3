#pragma once

namespace brawl {

struct Game;

// Lets go of the scene and the overlay's pictures.
void ReleaseObjects(Game& game);
// Gives the screen back to the desktop and shows the pointer again.
void RestoreDisplay(Game& game);

}  // namespace brawl
