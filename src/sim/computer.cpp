#include "sim/computer.h"

#include "game/game.h"

void MoveComputer(Game&) {}
