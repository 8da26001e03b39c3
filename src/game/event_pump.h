#pragma once

namespace brawl {

struct Game;

// One pass over pending window events: the settings window's buttons and close box, and
// the game window's keyboard and close request. Before the launch it waits for the next
// event; after it, it never waits.
void PumpWindowEvents(Game& game);

}  // namespace brawl
