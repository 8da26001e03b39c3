#include "net/state_hash.h"

#include <bit>
#include <initializer_list>

namespace brawl {

namespace {

// FNV-1a, 64 bits.
struct Hasher {
  uint64_t h = 0xcbf29ce484222325ULL;
  void Bytes(uint64_t value, int n) {
    for (int i = 0; i < n; ++i) {
      h ^= (value >> (8 * i)) & 0xFF;
      h *= 0x100000001b3ULL;
    }
  }
  void Float(float f) { Bytes(std::bit_cast<uint32_t>(f), 4); }
  void Int(int64_t i) { Bytes(static_cast<uint64_t>(i), 8); }
  void Vec(const Vec3& v) {
    Float(v.x);
    Float(v.y);
    Float(v.z);
  }
  void Of(const Pose& f) {
    Vec(f.position);
    Vec(f.x_axis);
    Vec(f.y_axis);
    Vec(f.z_axis);
  }
};

}  // namespace

uint64_t HashMatch(const Match& m) {
  Hasher h;
  h.Int(static_cast<int>(m.GameMode));
  h.Int(m.Winner);
  h.Int(m.TitleChoice);
  h.Int(m.SpeedLock);
  h.Bytes(m.Rng.state, 8);
  for (int p = 0; p < 2; ++p) {
    h.Int(m.Heading[p]);
    const FighterState& f = m.Fighter[p];
    for (float v : {f.Life, f.X, f.Z, f.Cooldown, f.DirX, f.DirY, f.DirZ}) h.Float(v);
    for (int i = 0; i < kSlots; ++i) {
      const BulletState& b = m.Bullet[p][i];
      h.Int(b.Active);
      for (float v : {b.X, b.Y, b.Z, b.DirX, b.DirY, b.DirZ}) h.Float(v);
      const BloodState& s = m.Blood[p][i];
      h.Int(s.Active);
      for (float v : {s.X, s.Y, s.Z, s.T, s.VX, s.VZ}) h.Float(v);
      h.Of(m.Poses.Bullet[p][i]);
      h.Of(m.Poses.Blood[p][i]);
    }
    h.Of(m.Poses.Camera[p]);
    h.Of(m.Poses.Fighter[p]);
  }
  return h.h;
}

}  // namespace brawl
