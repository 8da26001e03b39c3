#include "game/game.h"
#include "sim/scene_frames.h"
#include "sim/shot_parts.h"
#include "sim/shots.h"

void MoveShots(Game& game) {
  for (int i = 0; i < kSlots; ++i) {
    MoveBullet(game, 0, i);
    MoveBullet(game, 1, i);
    MoveSplash(game, 0, i);
    MoveSplash(game, 1, i);
  }
}

void CheckHits(Game& game) {
  for (int i = 0; i < kSlots; ++i) {
    TestBullet(game, 1, i);
    TestBullet(game, 0, i);
  }
  ApplyArenaDamage(game, 0);
  ApplyArenaDamage(game, 1);
}

void StepShots(Game& game) {
  MoveShots(game);
  // The cameras' new aim becomes the fighters' forward vectors next frame.
  for (int p = 0; p < 2; ++p)
    LookAt(FrameOf(game, game.frames.Camera[p]), FrameOf(game, game.frames.FighterFrame[p]));
  CheckHits(game);
}
