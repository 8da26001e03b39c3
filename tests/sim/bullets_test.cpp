#include "sim/fighter_motion.h"
#include "support/match_fixture.h"
#include "sim/shots.h"

// One two-player match frame as the game runs it, with player 1 holding Fire.
struct BulletsTest : MatchTest {
  void FrameHoldingFire() {
    const Commands fire = Holding({Commands::Fire});
    AimFromCameras(game);
    if (fire.Pressed(0, Commands::Fire)) Fire(game, 0);
    PlaceFighters(game);
    StepShots(game);
  }
  int Flying(int p) const {
    int n = 0;
    for (const BulletState& b : game.match.Bullet[p]) n += b.Active == -1;
    return n;
  }
};

TEST_F(BulletsTest, HoldingFireShootsEveryFifthFrame) {
  StepShots(game);
  Fighter(1).X = 5;  // out of the line of fire
  std::vector<int> shots;
  for (int frame = 1; frame <= 16; ++frame) {
    game.sound.requested.clear();
    FrameHoldingFire();
    if (Sounds("fire.wav") == 1) shots.push_back(frame);
  }
  EXPECT_EQ(shots, (std::vector<int>{1, 6, 11, 16}));
  EXPECT_EQ(Flying(0), 4);
}

TEST_F(BulletsTest, TakesTheLowestFreeSlotAndFliesAlongTheCameraView) {
  StepShots(game);  // the cameras look at their fighters
  game.match.Bullet[0][0].Active = -1;
  Fire(game, 0);
  const BulletState& b = game.match.Bullet[0][1];
  EXPECT_EQ(b.Active, -1);
  EXPECT_EQ(b.Y, 1.0f);
  EXPECT_NEAR(b.DirZ, -0.988936, 1e-6);
  EXPECT_EQ(Fighter(0).Cooldown, 5.0f);
  MoveShots(game);
  EXPECT_NEAR(b.Z, -45.988936, 1e-5);
  EXPECT_EQ(FrameAt(game.frames.BulletFrame[0][1]).position.z, b.Z);
}

TEST_F(BulletsTest, NoFreeSlotMeansNoShotNoSoundAndNoCooldown) {
  for (BulletState& b : game.match.Bullet[0]) b.Active = -1;
  Fire(game, 0);
  EXPECT_EQ(Sounds("fire.wav"), 0);
  EXPECT_EQ(Fighter(0).Cooldown, 0.0f);
}

TEST_F(BulletsTest, CoolingDownMeansNoShot) {
  Fighter(0).Cooldown = 0.5f;
  Fire(game, 0);
  EXPECT_EQ(Flying(0), 0);
  Fighter(0).Cooldown = 0;
  Fire(game, 0);
  EXPECT_EQ(Flying(0), 1);
}

TEST_F(BulletsTest, ABulletOnTheEdgeStaysAndOnePastItIsParked) {
  BulletState& b = game.match.Bullet[0][3];
  b = {-1, 99, 1, -50, 1, 0, 0};
  MoveShots(game);
  EXPECT_EQ(b.X, 100.0f);
  EXPECT_EQ(b.Active, -1);
  MoveShots(game);
  EXPECT_EQ(b.Active, 0);
  EXPECT_EQ(b.Y, 100.0f);
  const Frame& frame = FrameAt(game.frames.BulletFrame[0][3]);
  EXPECT_EQ(frame.position.x, 101.0f);
  EXPECT_EQ(frame.position.y, 100.0f);
}

TEST_F(BulletsTest, HitSquareIsOpenAndOnlyTheOtherFighterIsHit) {
  auto hits_at = [&](float x, float z) {
    ResetMatch(game);
    Fighter(1).X = 50, Fighter(1).Z = -55;
    game.match.Bullet[0][0] = {-1, x, 1, z, 0, 0, 0};
    CheckHits(game);
    return Fighter(1).Life < 128;
  };
  EXPECT_TRUE(hits_at(50.9f, -55.9f));
  EXPECT_FALSE(hits_at(51.0f, -55.0f));
  EXPECT_FALSE(hits_at(50.0f, -54.0f));
  EXPECT_FALSE(hits_at(49.0f, -55.0f));

  ResetMatch(game);
  game.match.Bullet[0][0] = {-1, 50, 1, -45, 0, 0, 0};  // right on its own shooter
  CheckHits(game);
  EXPECT_EQ(Fighter(0).Life, 128.0f);
}

TEST_F(BulletsTest, AShotCanHitInTheFrameItIsFired) {
  StepShots(game);
  Fighter(1).X = 50, Fighter(1).Z = -45.5f;
  Fire(game, 0);
  StepShots(game);
  EXPECT_EQ(Fighter(1).Life, 124.0f);
  EXPECT_EQ(Flying(0), 0);
}

TEST_F(BulletsTest, BeforeTheFirstMeasurementAShotStaysWhereItWasFired) {
  game.loop.SpeedFactor = 0;
  Fighter(1).X = 5;
  for (int frame = 0; frame < 10; ++frame) FrameHoldingFire();
  EXPECT_EQ(Flying(0), 1);
  EXPECT_EQ(game.match.Bullet[0][0].Z, -45.0f);
  EXPECT_EQ(Fighter(0).Cooldown, 5.0f);
}
