// The match rules at their own layer, where a fault shows first: aiming, the hit square, the
// arena's edges and the heading's range. The scripted runs pin whole matches.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "sim/numbers.h"
#include "sim/pass_parts.h"

namespace brawl {
namespace {

Pose At(float x, float y, float z) {
  Pose p;
  SetPosition(p, x, y, z);
  return p;
}

double Length(const Vec3& v) {
  return std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
}

TEST(LookAt, TurnsLevelTowardsTheTargetAndKeepsItsAimWhenThereIsNone) {
  Pose camera = At(50, 2.5f, -35);
  LookAt(camera, At(20, 1, -80));
  EXPECT_NEAR(Length(camera.z_axis), 1, 1e-6);
  EXPECT_NEAR(Length(camera.x_axis), 1, 1e-6);
  EXPECT_EQ(camera.x_axis.y, 0.0f);  // no roll
  EXPECT_GT(camera.y_axis.y, 0.0f);  // up stays up
  EXPECT_NEAR(camera.z_axis.x / camera.z_axis.z, -30.0 / -45.0, 1e-6);
  // A target on the camera itself, or straight above it, gives no heading: the aim stays.
  for (const Pose& target : {At(50, 2.5f, -35), At(50, 9, -35)}) {
    Pose kept = camera;
    LookAt(kept, target);
    EXPECT_EQ(std::memcmp(&kept, &camera, sizeof kept), 0);
  }
}

// A bullet at rest beside fighter 2: within the open square of side 2 it hits, on its edge not.
TEST(Shots, HitWithinTheOpenSquareAndLoseLifeOutsideTheArenaButNotOnItsEdge) {
  struct Case {
    float bullet_dx, fighter_x;
    float life_lost;
  };
  const Case cases[] = {
      {0.999f, 50, kHitDamage}, {1.0f, 50, 0},
      {-0.5f, 50, kHitDamage},                                 // the square
      {5, kArenaMaxX, 0},       {5, 100.01f, kOutsideDamage},  // the edge is in play
  };
  for (const Case& c : cases) {
    Match m = NewMatch();
    PassEvents events;
    ResetMatch(m, 36000, events);
    m.Fighter[1].X = c.fighter_x;
    BulletState& b = m.Bullet[0][0];
    b = {true, c.fighter_x + c.bullet_dx, kLaunchHeight, m.Fighter[1].Z, 0, 0, 0};
    PassInput input;
    StepShots(m, input, events);
    EXPECT_EQ(kFullLife - m.Fighter[1].Life, c.life_lost) << c.bullet_dx << " " << c.fighter_x;
  }
}

TEST(Headings, RoundHalfToEvenAndHoldAtTheRangeEnds) {
  const std::pair<double, int16_t> cases[] = {{2.5, 2},       {3.5, 4},         {-2.5, -2},
                                              {40000, 32767}, {-40000, -32768}, {std::nan(""), -32768}};
  for (const auto& [degrees, heading] : cases) EXPECT_EQ(RoundHeading(degrees), heading) << degrees;
  EXPECT_EQ(AddDegrees(32767, 2), -32767);
}

}  // namespace
}  // namespace brawl
