#pragma once
// The numbers of the match rules, each named once.

namespace brawl {

constexpr int kSlots = 10;  // bullet and splash slots per player

// The arena's floor, edges included; outside it a fighter loses life and a bullet is gone.
constexpr float kArenaMinX = 0, kArenaMaxX = 100;
constexpr float kArenaMinZ = -100, kArenaMaxZ = 0;

constexpr float kFullLife = 128;
constexpr float kHitDamage = 4;
constexpr float kOutsideDamage = 1;    // each frame outside the arena
constexpr float kHitHalfWidth = 1.0f;  // a bullet hits within an open square of side 2

// Where each fighter stands, and which way it faces, when a match starts.
constexpr float kStartX[2] = {50, 50};
constexpr float kStartZ[2] = {-45, -55};
constexpr int kStartHeading[2] = {0, 180};

// Unused slots wait above the arena, out of sight.
constexpr float kParkHeight = 100.0f;
constexpr float kFighterHeight = 1.0f;
constexpr float kLaunchHeight = 1.0f;  // bullets leave and splashes start at this height
constexpr float kCameraDistance = 10;  // behind the fighter along its heading
constexpr float kCameraHeight = 2.5f;
constexpr float kCooldownAfterShot = 5;
constexpr double kTurnStep = 2;  // degrees a frame at speed factor 1
constexpr double kSplashTimeStep = 0.1;
constexpr double kSplashSpread = 0.5;  // the drift is drawn from -0.25 .. 0.25 a frame

// The computer keeps to bands of distance from player 1: it backs off below about 12 units,
// closes in and fires up to 50, backs off again up to 75, and closes in and fires up to 100.
// The narrow gaps just below each band edge leave it standing for a frame.
struct ComputerBand {
  double from, to;
  bool close_in;
};
constexpr ComputerBand kComputerBands[] = {
    {0, 11.999, false}, {12, 49.999, true}, {50, 74.999, false}, {75, 100, true}};
// The computer chases player 1's heading number within this many degrees either way.
constexpr int kComputerTurnReach = 720;

}  // namespace brawl
