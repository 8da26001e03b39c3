#pragma once
#include <vector>

#include "platform/settings_dialog.h"

namespace brawl {

struct Game;

// One pass over pending window events: what the settings window's buttons and close box
// asked for, in order, then Close when the game window was asked to close. Before the launch
// it sleeps until an event comes; after it, it never waits.
std::vector<DialogEvent> PumpWindowEvents(Game& game);
// After the launch: pumps, and a close request ends the loop at the end of this pass. True
// when the loop is to end.
bool TakeCloseRequests(Game& game);

}  // namespace brawl
