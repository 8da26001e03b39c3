#pragma once

struct Game;

void DiscoverJoysticks(Game& game);
void PollJoystick(Game& game, int player);
