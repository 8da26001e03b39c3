#include "input/joystick.h"

#include "game/game.h"

void DiscoverJoysticks(Game&) {}
void PollJoystick(Game&, int) {}
