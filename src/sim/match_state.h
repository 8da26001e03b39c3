#pragma once
#include <cstdint>

#include "platform/scene/frame.h"
#include "platform/scene/scene.h"

constexpr int kSlots = 10;        // bullet and splash slots per player
constexpr float kParkHeight = 100.0f;

struct FighterState {
  float Life = 0, X = 0, Z = 0, Cooldown = 0, DirX = 0, DirY = 0, DirZ = 0;
};

struct BulletState {
  int16_t Active = 0;
  float X = 0, Y = 0, Z = 0, DirX = 0, DirY = 0, DirZ = 0;
};

struct BloodState {
  int16_t Active = 0;
  float X = 0, Y = 0, Z = 0, T = 0, VX = 0, VZ = 0;
};

// Everything the simulation knows about the one match.
struct MatchState {
  int16_t Heading[2] = {0, 0};
  FighterState Fighter[2];
  BulletState Bullet[2][kSlots];
  BloodState Blood[2][kSlots];
  Vec3 UpScratch;
};

// The frames that show the match, all children of the scene root.
struct MatchFrames {
  FrameId Camera[2] = {-1, -1};
  FrameId FighterFrame[2] = {-1, -1};
  FrameId BulletFrame[2][kSlots] = {};
  FrameId BloodFrame[2][kSlots] = {};
};
