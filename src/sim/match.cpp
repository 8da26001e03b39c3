#include <cmath>

#include "sim/pass_parts.h"

namespace brawl {

Match NewMatch() {
  Match m;
  SetPosition(m.Poses.Camera[1], 0, 10.0f, 0);
  return m;
}

void ResetMatch(Match& m, float clock, PassEvents& events) {
  for (int p = 0; p < 2; ++p) {
    for (int i = 0; i < kSlots; ++i) {
      // Parked where the slot was last used; T and the directions stay as they were.
      BulletState& b = m.Bullet[p][i];
      BloodState& s = m.Blood[p][i];
      b.Y = kParkHeight, b.Active = false;
      s.Y = kParkHeight, s.Active = false;
      SetPosition(m.Poses.Bullet[p][i], b.X, kParkHeight, b.Z);
      SetPosition(m.Poses.Blood[p][i], s.X, kParkHeight, s.Z);
    }
  }
  for (int p = 0; p < 2; ++p) {
    FighterState& f = m.Fighter[p];
    f.X = kStartX[p], f.Z = kStartZ[p], f.Life = kFullLife;
    m.Heading[p] = static_cast<int16_t>(kStartHeading[p]);
  }
  PlaceFighterAndCamera(m, 0);
  PlaceFighterAndCamera(m, 1);
  m.TitleChoice = 1;

  Reseed(m.Rng, clock);
  const int n = static_cast<int>(std::floor(NextUniform(m.Rng) * 4));
  events.Play(static_cast<Sound>(static_cast<int>(Sound::Title0) + n));
}

bool InMatch(Mode mode) {
  return mode == Mode::OnePlayer || mode == Mode::TwoPlayers;
}

}  // namespace brawl
