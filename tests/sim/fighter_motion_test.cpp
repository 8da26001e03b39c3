#include "sim/fighter_motion.h"

#include <cmath>
#include <vector>

#include "support/match_fixture.h"

using FighterMotionTest = MatchTest;

TEST_F(FighterMotionTest, FirstStepForwardFromTheStartDriftsByTheGamesPi) {
  MoveFighter(game, 0, Holding({Commands::Forward}));
  EXPECT_EQ(Fighter(0).Z, -45.5f);
  // The sine of "180 degrees" is about -0.000307, so X ends just below 50.
  EXPECT_LT(Fighter(0).X, 50.0f);
  EXPECT_EQ(Fighter(0).X, 49.999847412109375f);
}

TEST_F(FighterMotionTest, HeldDirectionsAddUp) {
  MoveFighter(game, 0, Holding({Commands::Forward, Commands::Back}));
  EXPECT_NEAR(Fighter(0).X, 50 - 0.000154, 4e-6);
  EXPECT_NEAR(Fighter(0).Z, -45.0, 1e-5);

  ResetMatch(game);
  for (int frame = 0; frame < 60; ++frame)
    MoveFighter(game, 0, Holding({Commands::Forward, Commands::Right}));
  EXPECT_NEAR(std::hypot(Fighter(0).X - 50.0, Fighter(0).Z + 45.0), 42.4, 0.05);
}

TEST_F(FighterMotionTest, NothingMovesOrTurnsBeforeTheFirstMeasurement) {
  game.loop.SpeedFactor = 0;
  const Commands all = Holding({Commands::Forward, Commands::Right, Commands::TurnRight});
  MoveFighter(game, 0, all);
  TurnFighter(game, 0, all);
  EXPECT_EQ(Fighter(0).X, 50.0f);
  EXPECT_EQ(Fighter(0).Z, -45.0f);
  EXPECT_EQ(game.match.Heading[0], 0);
}

TEST_F(FighterMotionTest, WalkingIsNotStoppedAtTheArenaEdge) {
  // At heading 0 Left walks toward +X.
  for (int frame = 0; frame < 120; ++frame) MoveFighter(game, 0, Holding({Commands::Left}));
  EXPECT_GT(Fighter(0).X, 100.0f);
}

// Heading sequences: each element is the heading after one more frame of the turn.
std::vector<int> Turns(MatchTest& t, float speed, int from, int entry, int frames, int p = 0) {
  t.game.loop.SpeedFactor = speed;
  t.game.match.Heading[p] = static_cast<int16_t>(from);
  std::vector<int> seen;
  for (int i = 0; i < frames; ++i) {
    TurnFighter(t.game, p, MatchTest::Holding({8 * p + entry}));
    seen.push_back(t.game.match.Heading[p]);
  }
  return seen;
}

TEST_F(FighterMotionTest, HeadingStepsAndWrapsAtSpeedOne) {
  EXPECT_EQ(Turns(*this, 1.0f, 0, Commands::TurnLeft, 2), (std::vector<int>{360, 358}));
  EXPECT_EQ(Turns(*this, 1.0f, 358, Commands::TurnRight, 2), (std::vector<int>{360, 0}));
  // Player 2's keys turn player 2's heading.
  EXPECT_EQ(Turns(*this, 1.0f, 180, Commands::TurnRight, 2, 1), (std::vector<int>{182, 184}));
}

TEST_F(FighterMotionTest, HalfDegreeStepsRoundToEven) {
  EXPECT_EQ(Turns(*this, 1.25f, 0, Commands::TurnRight, 3), (std::vector<int>{2, 4, 6}));
  EXPECT_EQ(Turns(*this, 1.25f, 6, Commands::TurnLeft, 4), (std::vector<int>{4, 2, 0, 360}));
}

TEST_F(FighterMotionTest, HeadingJustPastTheEndWrapsOnTheNextTurnThatWay) {
  EXPECT_EQ(Turns(*this, 1.3f, 1, Commands::TurnLeft, 2), (std::vector<int>{-2, 360}));
  EXPECT_EQ(Turns(*this, 1.3f, -2, Commands::TurnRight, 1), (std::vector<int>{1}));
}

TEST_F(FighterMotionTest, BothTurnsTurnRightThenLeftFromTheNewValue) {
  game.match.Heading[0] = 359;
  TurnFighter(game, 0, Holding({Commands::TurnRight, Commands::TurnLeft}));
  EXPECT_EQ(game.match.Heading[0], 359);  // 361, then back by 2
  game.match.Heading[0] = 360;
  TurnFighter(game, 0, Holding({Commands::TurnRight, Commands::TurnLeft}));
  EXPECT_EQ(game.match.Heading[0], 360);  // wrapped to 0, then wrapped to 360
}

TEST_F(FighterMotionTest, CooldownRunsDownToJustBelowZero) {
  Fighter(0).Cooldown = 5;
  std::vector<float> seen;
  for (int frame = 0; frame < 8; ++frame) {
    PlaceFighters(game);
    seen.push_back(Fighter(0).Cooldown);
  }
  EXPECT_EQ(seen, (std::vector<float>{4, 3, 2, 1, 0, -1, -1, -1}));
}

TEST_F(FighterMotionTest, CamerasStandTenUnitsBehindAlongTheHeading) {
  game.match.Heading[0] = 90;
  Fighter(0).X = 20, Fighter(0).Z = -30;
  PlaceFighters(game);
  const Frame& fighter = FrameAt(game.frames.FighterFrame[0]);
  const Frame& camera = FrameAt(game.frames.Camera[0]);
  EXPECT_EQ(fighter.position.x, 20.0f);
  EXPECT_EQ(fighter.position.y, 1.0f);
  EXPECT_EQ(fighter.position.z, -30.0f);
  EXPECT_NEAR(camera.position.x, 30.0, 1e-5);
  EXPECT_EQ(camera.position.y, 2.5f);
  EXPECT_NEAR(camera.position.z, -30.0015, 1e-4);  // the game's pi again
}

TEST_F(FighterMotionTest, ForwardVectorIsTheCamerasViewOfItsFighter) {
  LookAt(game.scene.frames[game.frames.Camera[0]], FrameAt(game.frames.FighterFrame[0]));
  AimFromCameras(game);
  // From (50, 2.5, -35) at (50, 1, -45): straight down -Z, sloping down by 1.5 in 10.
  EXPECT_NEAR(Fighter(0).DirX, 0.0, 1e-6);
  EXPECT_NEAR(Fighter(0).DirY, -0.148340, 1e-6);
  EXPECT_NEAR(Fighter(0).DirZ, -0.988936, 1e-6);
}
