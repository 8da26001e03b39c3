#pragma once

namespace brawl {

struct Game;

// The program's first routine: returns when the main loop has returned.
void StartUp(Game& game);

}  // namespace brawl
