#pragma once
#include "sim/match.h"

namespace brawl {

// A match in `mode` with every bullet and splash in the air: bullets spread over the arena
// flying across it, clear of both fighters; splashes rising over the fighters. The computer
// (player 2) stands in a firing band.
inline void PutEveryShotInFlight(Match& m, Mode mode) {
  m.GameMode = mode;
  m.Fighter[1].Z = -75;
  for (int i = 0; i < kSlots; ++i) {
    m.Bullet[0][i] = {true, 20.0f + 6 * i, 1.0f, -50.0f - 2 * i, 0.0f, 0.0f, -0.989f};
    m.Bullet[1][i] = {true, 25.0f + 5 * i, 1.0f, -40.0f + 2 * i, 0.0f, 0.0f, 0.989f};
    m.Blood[0][i] = {true, 50.0f + 0.2f * i, 1.0f, -45.0f, 0.1f * i, 0.05f, -0.05f};
    m.Blood[1][i] = {true, 50.0f - 0.2f * i, 1.0f, -75.0f, 0.1f * i, -0.05f, 0.05f};
  }
}

}  // namespace brawl
