#pragma once

struct Game;
struct Commands;

void AimFromCameras(Game& game);
void MoveFighter(Game& game, int p, const Commands& commands);
void TurnFighter(Game& game, int p, const Commands& commands);
void PlaceFighters(Game& game);
