#include <algorithm>

#include "support/match_fixture.h"
#include "sim/shots.h"

struct HitsTest : MatchTest {
  // Player 1's bullet slot 0 placed on fighter 2, flying along +X.
  void BulletOnFighter2(int slot = 0) {
    game.match.Bullet[0][slot] = {-1, Fighter(1).X, 1, Fighter(1).Z, 1, 0, 0};
  }
  int Splashes(int p) const {
    return static_cast<int>(std::count_if(std::begin(game.match.Blood[p]), std::end(game.match.Blood[p]),
                                          [](const BloodState& s) { return s.Active == -1; }));
  }
  void ClearSplashes() {
    for (BloodState& s : game.match.Blood[1]) s.Active = 0;
  }
};

TEST_F(HitsTest, AHitPushesAlongTheBulletCostsFourAndBleeds) {
  BulletOnFighter2();
  CheckHits(game);
  EXPECT_EQ(Fighter(1).X, 50.2f);
  EXPECT_EQ(Fighter(1).Life, 124.0f);
  EXPECT_EQ(game.match.Bullet[0][0].Active, 0);
  EXPECT_EQ(game.match.Bullet[0][0].Y, 100.0f);
  const BloodState& s = game.match.Blood[1][0];
  EXPECT_EQ(s.Active, -1);
  EXPECT_EQ(s.X, 50.2f);
  EXPECT_EQ(s.Y, 1.0f);
  EXPECT_GE(s.VX, -0.25f);
  EXPECT_LT(s.VX, 0.25f);
  EXPECT_EQ(Sounds("ogaa.wav"), 1);
}

TEST_F(HitsTest, ThirtyTwoHitsTakeAFullLife) {
  game.loop.SpeedFactor = 0;  // no push, so every bullet lands on the same spot
  for (int hit = 1; hit <= 32; ++hit) {
    ClearSplashes();
    BulletOnFighter2();
    CheckHits(game);
  }
  EXPECT_EQ(Fighter(1).Life, 0.0f);
}

TEST_F(HitsTest, TwoHitsInOneFrameCanTakeLifeBelowZero) {
  Fighter(1).Life = 2;
  game.loop.SpeedFactor = 0;
  BulletOnFighter2(0);
  BulletOnFighter2(1);
  CheckHits(game);
  EXPECT_EQ(Fighter(1).Life, -6.0f);
  EXPECT_EQ(Splashes(1), 2);
}

TEST_F(HitsTest, OutsideTheArenaCostsOnePerFrameEvenWithoutSplashSlots) {
  Fighter(0).X = 100.001f;
  for (int frame = 0; frame < 12; ++frame) CheckHits(game);
  EXPECT_EQ(Fighter(0).Life, 116.0f);
  EXPECT_EQ(Splashes(0), 10);
  EXPECT_EQ(Sounds("ogaa.wav"), 10);
}

TEST_F(HitsTest, TheArenaEdgesAreInside) {
  const float edges[][2] = {{0, -50}, {100, -50}, {50, 0}, {50, -100}, {0, 0}, {100, -100}};
  for (const auto& e : edges) {
    Fighter(0).X = e[0], Fighter(0).Z = e[1];
    CheckHits(game);
  }
  EXPECT_EQ(Fighter(0).Life, 128.0f);
}

TEST_F(HitsTest, APushOutOfTheArenaCostsLifeInTheSameCall) {
  Fighter(1).X = 99.9f;
  BulletOnFighter2();
  CheckHits(game);
  EXPECT_GT(Fighter(1).X, 100.0f);
  EXPECT_EQ(Fighter(1).Life, 123.0f);
}

TEST_F(HitsTest, HitWithEverySplashSlotBusyIsSilentButStillHurts) {
  for (BloodState& s : game.match.Blood[1]) s.Active = -1;
  BulletOnFighter2();
  CheckHits(game);
  EXPECT_EQ(Fighter(1).Life, 124.0f);
  EXPECT_EQ(Sounds("ogaa.wav"), 0);
}

// Frames from the start of a splash until it lands, and its highest point.
struct Arc {
  int frames = 0;
  float peak = 0;
};
Arc FlySplash(MatchTest& t, float speed) {
  t.game.loop.SpeedFactor = speed;
  t.game.match.Fighter[0].X = 101;
  CheckHits(t.game);
  t.game.match.Fighter[0].X = 50;
  const BloodState& s = t.game.match.Blood[0][0];
  Arc arc;
  while (s.Active == -1 && arc.frames < 1000) {
    MoveShots(t.game);
    ++arc.frames;
    if (s.Active == -1) arc.peak = std::max(arc.peak, s.Y);
  }
  return arc;
}

TEST_F(HitsTest, SplashArcFollowsTheSpeedFactorButItsDriftDoesNot) {
  const Arc at60 = FlySplash(*this, 1.0f);
  EXPECT_EQ(at60.frames, 21);
  EXPECT_NEAR(at60.peak, 5.55, 1e-5);
  const BloodState& s = game.match.Blood[0][0];
  EXPECT_EQ(s.T, 0.0f);
  EXPECT_EQ(s.Y, 100.0f);
  EXPECT_EQ(FrameAt(game.frames.BloodFrame[0][0]).position.y, 100.0f);
  EXPECT_LE(std::abs(s.X - 101.0f), 21 * 0.25f + 1e-3f);

  const Arc at30 = FlySplash(*this, 0.5f);
  EXPECT_EQ(at30.frames, 40);
  EXPECT_NEAR(at30.peak, 10.0, 1e-5);
  const Arc at120 = FlySplash(*this, 2.0f);
  EXPECT_EQ(at120.frames, 11);
  EXPECT_NEAR(at120.peak, 3.31, 1e-5);
}

TEST_F(HitsTest, ASplashParkedInMidAirResumesItsArc) {
  game.match.Fighter[0].X = 101;
  CheckHits(game);
  for (int frame = 0; frame < 15; ++frame) MoveShots(game);
  ResetMatch(game);
  const BloodState& s = game.match.Blood[0][0];
  EXPECT_EQ(s.Active, 0);
  EXPECT_NEAR(s.T, 1.5, 1e-5);
  game.match.Fighter[0].X = 101;
  CheckHits(game);
  float before = s.Y;
  MoveShots(game);
  EXPECT_LT(s.Y, before);  // already sinking in its first frame
}

TEST_F(HitsTest, BeforeTheFirstMeasurementASplashClimbsAQuarterPerFrame) {
  game.loop.SpeedFactor = 0;
  game.match.Fighter[0].X = 101;
  CheckHits(game);
  for (int frame = 0; frame < 4; ++frame) MoveShots(game);
  EXPECT_EQ(game.match.Blood[0][0].Y, 2.0f);
  EXPECT_EQ(game.match.Blood[0][0].T, 0.0f);
}
