#pragma once

struct Game;

// One non-blocking pass over pending window events: the settings window's buttons and
// close box, and the game window's keyboard and close request.
void PumpWindowEvents(Game& game);
