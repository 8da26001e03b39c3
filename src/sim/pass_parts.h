#pragma once
// The pieces a pass is made of, for the pass itself and its tests.
#include "sim/pass.h"

namespace brawl {

// Fighters: aim, walk, turn, and stand where the rules put them.
void AimFromCameras(Match& m);
void MoveFighter(Match& m, int p, const PlayerCommands& commands, double speed);
void TurnFighter(Match& m, int p, const PlayerCommands& commands, double speed);
void PlaceFighterAndCamera(Match& m, int p);
void PlaceFighters(Match& m, double speed);

// Shots: a new bullet, and the step that flies bullets and splashes, turns the cameras to
// their fighters and applies hits and the arena's damage.
void Fire(Match& m, int p, PassEvents& events);
void StepShots(Match& m, const PassInput& input, PassEvents& events);
// What a hit or the arena does to fighter v.
void HurtFighter(Match& m, int v, float amount, const PassInput& input, PassEvents& events);

// The computer opponent, player 2 of the one-player match.
void MoveComputer(Match& m, const PassInput& input, PassEvents& events);

}  // namespace brawl
