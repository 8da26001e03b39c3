#pragma once

struct Game;

void MoveComputer(Game& game);
