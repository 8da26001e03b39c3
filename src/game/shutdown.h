#pragma once

namespace brawl {

struct Game;

// The end of a run by Escape: lets go of the scene and the overlay's pictures, gives the
// screen back to the desktop, shows the pointer, and ends the loop.
void EndRun(Game& game);

}  // namespace brawl
