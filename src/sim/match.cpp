#include "sim/match.h"

#include <cmath>
#include <string>

#include "game/game.h"
#include "sim/numbers.h"
#include "sim/scene_frames.h"
#include "sound/sound.h"

void CreateMatchFrames(Game& game) {
  MatchFrames& f = game.frames;
  for (FrameId& camera : f.Camera) camera = CreateFrame(game.scene);
  Place(game, f.Camera[0], 0, 0, 0);
  Place(game, f.Camera[1], 0, 10.0f, 0);
  for (FrameId& fighter : f.FighterFrame) fighter = CreateFrame(game.scene);
  for (int i = 0; i < kSlots; ++i) {
    f.BulletFrame[0][i] = CreateFrame(game.scene);
    f.BulletFrame[1][i] = CreateFrame(game.scene);
    f.BloodFrame[0][i] = CreateFrame(game.scene);
    f.BloodFrame[1][i] = CreateFrame(game.scene);
  }
}

void ResetMatch(Game& game) {
  MatchState& m = game.match;
  for (int i = 0; i < kSlots; ++i) {
    BulletState* bullets[2] = {&m.Bullet[0][i], &m.Bullet[1][i]};
    BloodState* splashes[2] = {&m.Blood[0][i], &m.Blood[1][i]};
    for (BulletState* b : bullets) b->Y = kParkHeight, b->Active = 0;
    for (BloodState* s : splashes) s->Y = kParkHeight, s->Active = 0;
    // Parked where the slot was last used; T and the directions stay as they were.
    Place(game, game.frames.BulletFrame[0][i], bullets[0]->X, kParkHeight, bullets[0]->Z);
    Place(game, game.frames.BulletFrame[1][i], bullets[1]->X, kParkHeight, bullets[1]->Z);
    Place(game, game.frames.BloodFrame[0][i], splashes[0]->X, kParkHeight, splashes[0]->Z);
    Place(game, game.frames.BloodFrame[1][i], splashes[1]->X, kParkHeight, splashes[1]->Z);
  }
  m.Fighter[0].X = 50, m.Fighter[0].Z = -45, m.Fighter[0].Life = 128;
  m.Fighter[1].X = 50, m.Fighter[1].Z = -55, m.Fighter[1].Life = 128;
  m.Heading[0] = 0, m.Heading[1] = 180;
  PlaceFighterAndCamera(game, 0);
  PlaceFighterAndCamera(game, 1);
  game.loop.TitleChoice = 1;

  Reseed(game.random, game.platform.clock.Seconds());
  const int n = static_cast<int>(std::floor(NextUniform(game.random) * 4));
  PlaySound(game, "title" + std::to_string(n) + ".wav");
}
