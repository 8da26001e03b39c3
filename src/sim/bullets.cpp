#include "game/game.h"
#include "sim/numbers.h"
#include "sim/scene_frames.h"
#include "sim/shot_parts.h"
#include "sim/shots.h"
#include "sound/sound.h"

constexpr float kCooldownAfterShot = 5;
constexpr float kLaunchHeight = 1.0f;

void Fire(Game& game, int p) {
  BulletState* slot = nullptr;
  for (BulletState& b : game.match.Bullet[p]) {
    if (b.Active == 0) {
      slot = &b;
      break;
    }
  }
  if (slot == nullptr) return;
  FighterState& f = game.match.Fighter[p];
  if (f.Cooldown > 0) return;
  slot->Active = -1, slot->X = f.X, slot->Y = kLaunchHeight, slot->Z = f.Z;
  // The camera still looks the way the last shot step (or the computer) turned it.
  Vec3 direction;
  GetOrientation(FrameOf(game, game.frames.Camera[p]), direction, game.match.UpScratch);
  f.DirX = direction.x, f.DirY = direction.y, f.DirZ = direction.z;
  slot->DirX = f.DirX, slot->DirY = f.DirY, slot->DirZ = f.DirZ;
  PlaySound(game, "fire.wav");
  f.Cooldown = kCooldownAfterShot;
}

static bool InArena(float x, float z) {
  return x <= 100 && z <= 0 && x >= 0 && z >= -100;
}

static void FreeBullet(Game& game, int p, int i) {
  BulletState& b = game.match.Bullet[p][i];
  b.Active = 0, b.Y = kParkHeight;
  Place(game, game.frames.BulletFrame[p][i], b.X, kParkHeight, b.Z);
}

void MoveBullet(Game& game, int p, int i) {
  BulletState& b = game.match.Bullet[p][i];
  if (b.Active != -1) return;
  const double speed = game.loop.SpeedFactor;
  b.X = ToFloat(b.X + b.DirX * speed);
  b.Z = ToFloat(b.Z + b.DirZ * speed);
  Place(game, game.frames.BulletFrame[p][i], b.X, b.Y, b.Z);
  // The edges themselves are still in play.
  if (!InArena(b.X, b.Z)) FreeBullet(game, p, i);
}

void TestBullet(Game& game, int p, int i) {
  BulletState& b = game.match.Bullet[p][i];
  if (b.Active != -1) return;
  const int v = 1 - p;
  const FighterState& f = game.match.Fighter[v];
  // An open square of side 2 around the fighter, its edges worked out in float.
  const bool hit = ToFloat(b.X + 1.0) > f.X && ToFloat(b.X - 1.0) < f.X && ToFloat(b.Z + 1.0) > f.Z &&
                   ToFloat(b.Z - 1.0) < f.Z;
  if (!hit) return;
  PushFighter(game, v, b.DirX, b.DirZ);
  FreeBullet(game, p, i);
  HurtFighter(game, v, 4);
}

void ApplyArenaDamage(Game& game, int p) {
  const FighterState& f = game.match.Fighter[p];
  if (!InArena(f.X, f.Z)) HurtFighter(game, p, 1);
}
