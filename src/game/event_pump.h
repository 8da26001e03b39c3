#pragma once

namespace brawl {

struct Game;

// One non-blocking pass over pending window events: the settings window's buttons and
// close box, and the game window's close request.
void PumpWindowEvents(Game& game);

}  // namespace brawl
