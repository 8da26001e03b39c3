#include "sim/numbers.h"
#include "sim/pass_parts.h"

namespace brawl {

namespace {

// The edges themselves are still in play.
bool InArena(float x, float z) {
  return x <= kArenaMaxX && z <= kArenaMaxZ && x >= kArenaMinX && z >= kArenaMinZ;
}

void FreeBullet(Match& m, int p, int i) {
  BulletState& b = m.Bullet[p][i];
  b.Active = false, b.Y = kParkHeight;
  SetPosition(m.Poses.Bullet[p][i], b.X, kParkHeight, b.Z);
}

void MoveBullet(Match& m, int p, int i, double speed) {
  BulletState& b = m.Bullet[p][i];
  if (!b.Active) return;
  b.X = ToFloat(b.X + b.DirX * speed);
  b.Z = ToFloat(b.Z + b.DirZ * speed);
  SetPosition(m.Poses.Bullet[p][i], b.X, b.Y, b.Z);
  if (!InArena(b.X, b.Z)) FreeBullet(m, p, i);
}

void MoveSplash(Match& m, int p, int i, double speed) {
  BloodState& s = m.Blood[p][i];
  if (!s.Active) return;
  // The drift is per frame, not scaled; only the arc follows the frame rate.
  s.X = ToFloat(static_cast<double>(s.X) + s.VX);
  s.Z = ToFloat(static_cast<double>(s.Z) + s.VZ);
  const double rise = static_cast<double>(s.T) - 0.5;
  s.Y = ToFloat(static_cast<double>(s.Y) - rise * rise + 0.5);
  s.T = ToFloat(s.T + speed * kSplashTimeStep);
  Pose& pose = m.Poses.Blood[p][i];
  SetPosition(pose, s.X, s.Y, s.Z);
  if (s.Y <= 0) {
    s.T = 0, s.Active = false, s.Y = kParkHeight;
    SetPosition(pose, s.X, kParkHeight, s.Z);
  }
}

// The first slot not in flight, or none.
template <typename Slot>
Slot* FirstFree(Slot (&slots)[kSlots]) {
  for (Slot& slot : slots) {
    if (!slot.Active) return &slot;
  }
  return nullptr;
}

void SpawnBlood(Match& m, int p, const PassInput& input, PassEvents& events) {
  BloodState* slot = FirstFree(m.Blood[p]);
  // With every slot flying the loss of life still counts, unseen and unheard.
  if (slot == nullptr) return;
  const FighterState& f = m.Fighter[p];
  // T is left alone: a splash parked in mid-air by a reset resumes its arc from there.
  slot->Active = true, slot->X = f.X, slot->Y = kLaunchHeight, slot->Z = f.Z;
  Reseed(m.Rng, input.clock);
  const double r1 = NextUniform(m.Rng);
  const double r2 = NextUniform(m.Rng);
  slot->VX = ToFloat(r1 * kSplashSpread - kSplashSpread / 2);
  slot->VZ = ToFloat(r2 * kSplashSpread - kSplashSpread / 2);
  events.Play(Sound::Hit);
}

// A hit pushes the fighter along the bullet, then hurts it.
void PushFighter(Match& m, int v, float dir_x, float dir_z, double speed) {
  FighterState& f = m.Fighter[v];
  f.X = ToFloat(static_cast<double>(dir_x) / 5 * speed + f.X);
  f.Z = ToFloat(static_cast<double>(dir_z) / 5 * speed + f.Z);
}

void TestBullet(Match& m, int p, int i, const PassInput& input, PassEvents& events) {
  BulletState& b = m.Bullet[p][i];
  if (!b.Active) return;
  const int v = 1 - p;
  const FighterState& f = m.Fighter[v];
  // An open square around the fighter, its edges worked out in float.
  const double half = kHitHalfWidth;
  const bool hit = ToFloat(b.X + half) > f.X && ToFloat(b.X - half) < f.X && ToFloat(b.Z + half) > f.Z &&
                   ToFloat(b.Z - half) < f.Z;
  if (!hit) return;
  PushFighter(m, v, b.DirX, b.DirZ, input.speed_factor);
  FreeBullet(m, p, i);
  HurtFighter(m, v, kHitDamage, input, events);
}

}  // namespace

void Fire(Match& m, int p, PassEvents& events) {
  BulletState* slot = FirstFree(m.Bullet[p]);
  if (slot == nullptr) return;
  FighterState& f = m.Fighter[p];
  if (f.Cooldown > 0) return;
  slot->Active = true, slot->X = f.X, slot->Y = kLaunchHeight, slot->Z = f.Z;
  // The camera still looks the way the last shot step (or the computer) turned it.
  Vec3 direction, up;
  GetOrientation(m.Poses.Camera[p], direction, up);
  f.DirX = direction.x, f.DirY = direction.y, f.DirZ = direction.z;
  slot->DirX = f.DirX, slot->DirY = f.DirY, slot->DirZ = f.DirZ;
  events.Play(Sound::Fire);
  f.Cooldown = kCooldownAfterShot;
}

void HurtFighter(Match& m, int v, float amount, const PassInput& input, PassEvents& events) {
  FighterState& f = m.Fighter[v];
  f.Life = ToFloat(static_cast<double>(f.Life) - amount);
  SpawnBlood(m, v, input, events);
}

void StepShots(Match& m, const PassInput& input, PassEvents& events) {
  const double speed = input.speed_factor;
  for (int i = 0; i < kSlots; ++i) {
    MoveBullet(m, 0, i, speed);
    MoveBullet(m, 1, i, speed);
    MoveSplash(m, 0, i, speed);
    MoveSplash(m, 1, i, speed);
  }
  // The cameras' new aim becomes the fighters' forward vectors next frame.
  for (int p = 0; p < 2; ++p) LookAt(m.Poses.Camera[p], m.Poses.Fighter[p]);
  for (int i = 0; i < kSlots; ++i) {
    TestBullet(m, 1, i, input, events);
    TestBullet(m, 0, i, input, events);
  }
  for (int p = 0; p < 2; ++p) {
    const FighterState& f = m.Fighter[p];
    if (!InArena(f.X, f.Z)) HurtFighter(m, p, kOutsideDamage, input, events);
  }
}

}  // namespace brawl
