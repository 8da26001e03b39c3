#include "game/game.h"
#include "sim/numbers.h"
#include "sim/scene_frames.h"
#include "sim/shot_parts.h"
#include "sim/shots.h"
#include "sound/sound.h"

void PushFighter(Game& game, int v, float dir_x, float dir_z) {
  FighterState& f = game.match.Fighter[v];
  const double speed = game.loop.SpeedFactor;
  f.X = ToFloat(static_cast<double>(dir_x) / 5 * speed + f.X);
  f.Z = ToFloat(static_cast<double>(dir_z) / 5 * speed + f.Z);
}

void HurtFighter(Game& game, int v, float amount) {
  FighterState& f = game.match.Fighter[v];
  f.Life = ToFloat(static_cast<double>(f.Life) - amount);
  SpawnBlood(game, v);
}

void SpawnBlood(Game& game, int p) {
  BloodState* slot = nullptr;
  for (BloodState& s : game.match.Blood[p]) {
    if (s.Active == 0) {
      slot = &s;
      break;
    }
  }
  // With every slot flying the loss of life still counts, unseen and unheard.
  if (slot == nullptr) return;
  const FighterState& f = game.match.Fighter[p];
  // T is left alone: a splash parked in mid-air by a reset resumes its arc from there.
  slot->Active = -1, slot->X = f.X, slot->Y = 1.0f, slot->Z = f.Z;
  Reseed(game.random, game.platform.clock.Seconds());
  const double r1 = NextUniform(game.random);
  const double r2 = NextUniform(game.random);
  slot->VX = ToFloat(r1 * 0.5 - 0.25);
  slot->VZ = ToFloat(r2 * 0.5 - 0.25);
  PlaySound(game, "ogaa.wav");
}

void MoveSplash(Game& game, int p, int i) {
  BloodState& s = game.match.Blood[p][i];
  if (s.Active != -1) return;
  // The drift is per frame, not scaled; only the arc follows the frame rate.
  s.X = ToFloat(static_cast<double>(s.X) + s.VX);
  s.Z = ToFloat(static_cast<double>(s.Z) + s.VZ);
  const double rise = static_cast<double>(s.T) - 0.5;
  s.Y = ToFloat(static_cast<double>(s.Y) - rise * rise + 0.5);
  s.T = ToFloat(s.T + static_cast<double>(game.loop.SpeedFactor) * 0.1);
  const FrameId frame = game.frames.BloodFrame[p][i];
  Place(game, frame, s.X, s.Y, s.Z);
  if (s.Y <= 0) {
    s.T = 0, s.Active = 0, s.Y = kParkHeight;
    Place(game, frame, s.X, kParkHeight, s.Z);
  }
}
