#pragma once
#include <cstdint>

#include "sim/pose.h"
#include "sim/random.h"
#include "sim/rules.h"

namespace brawl {

enum class Mode : int16_t { Title = 0, OnePlayer = 1, TwoPlayers = 2, Result = 3 };

struct FighterState {
  float Life = 0, X = 0, Z = 0, Cooldown = 0, DirX = 0, DirY = 0, DirZ = 0;
};

struct BulletState {
  bool Active = false;
  float X = 0, Y = 0, Z = 0, DirX = 0, DirY = 0, DirZ = 0;
};

struct BloodState {
  bool Active = false;
  float X = 0, Y = 0, Z = 0, T = 0, VX = 0, VZ = 0;
};

// Where the match's pictures stand and look. The rules aim with the cameras' poses: a camera turned
// toward its fighter gives that fighter's forward vector for the next frame.
struct MatchPoses {
  Pose Camera[2];
  Pose Fighter[2];
  Pose Bullet[2][kSlots];
  Pose Blood[2][kSlots];
};

// The whole match as one value: copying it saves the match, assigning it restores it.
struct Match {
  Mode GameMode = Mode::Title;
  int16_t Winner = 0;
  int16_t TitleChoice = 0;
  bool SpeedLock = false;  // the speed factor stays as it is until the program ends
  int16_t Heading[2] = {0, 0};
  FighterState Fighter[2];
  BulletState Bullet[2][kSlots];
  BloodState Blood[2][kSlots];
  MatchPoses Poses;
  Random Rng;
};

// A match before its first reset: the cameras stand where the scene puts them when it is
// made, everything else at the origin.
Match NewMatch();

}  // namespace brawl
