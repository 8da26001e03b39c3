#pragma once

struct Game;

void Fire(Game& game, int p);
void MoveShots(Game& game);
void CheckHits(Game& game);
void SpawnBlood(Game& game, int p);
// Bullets and splashes fly, the cameras turn to their fighters, hits are tested.
void StepShots(Game& game);
