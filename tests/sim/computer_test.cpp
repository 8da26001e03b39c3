#include "sim/computer.h"

#include <cmath>

#include "sim/fighter_motion.h"
#include "support/match_fixture.h"
#include "sim/shots.h"

struct ComputerTest : MatchTest {
  double Distance() {
    return std::hypot(double(Fighter(0).X) - Fighter(1).X, double(Fighter(0).Z) - Fighter(1).Z);
  }
  // Player 1 standing still, the computer steering: one one-player frame.
  void Frame() {
    AimFromCameras(game);
    PlaceFighters(game);
    MoveComputer(game);
    StepShots(game);
  }
  // Puts the computer `d` units straight in front of its camera from player 1.
  void Apart(double d) {
    Fighter(1).X = 50, Fighter(1).Z = static_cast<float>(-45 - d);
    PlaceFighters(game);
  }
};

TEST_F(ComputerTest, FirstBacksOffThenClosesInAndFires) {
  StepShots(game);
  Frame();
  EXPECT_LT(Fighter(1).Z, -55.0f);  // away from player 1, not toward
  EXPECT_NEAR(Fighter(1).Z, -55.4986, 1e-4);
  EXPECT_EQ(Sounds("fire.wav"), 0);
  int frames = 1;
  while (Distance() <= 11.999 && frames < 100) Frame(), ++frames;
  EXPECT_LT(frames, 10);
  // Past 12 it turns back toward player 1 and fires as its cool-down allows.
  for (int i = 0; i < 3; ++i) Frame();
  EXPECT_LT(Distance(), 12.2);
  EXPECT_GE(Sounds("fire.wav"), 1);
}

TEST_F(ComputerTest, EachBandBacksOffClosesInOrWaits) {
  struct Case {
    double d;
    int toward;  // +1 closes in, -1 backs off, 0 waits
    bool fires;
  };
  const Case cases[] = {{5, -1, false},      {11.9995, 0, false}, {12, 1, true},     {30, 1, true},
                        {49.9995, 0, false}, {50, -1, false},     {60, -1, false},   {74.9995, 0, false},
                        {75, 1, true},       {100, 1, true},      {100.01, 0, false}};
  for (const Case& c : cases) {
    ResetMatch(game);
    game.match.Heading[0] = 180;  // no turn: the camera stays behind the computer
    Apart(c.d);
    StepShots(game);
    game.sound.requested.clear();
    Fighter(1).Cooldown = 0;
    const double before = Distance();
    MoveComputer(game);
    const double moved = before - Distance();
    SCOPED_TRACE(c.d);
    EXPECT_NEAR(moved, 0.5 * c.toward, 0.02);
    if (c.toward == 0) {
      EXPECT_EQ(moved, 0.0);
    }
    EXPECT_EQ(Sounds("fire.wav"), c.fires ? 1 : 0);
  }
}

TEST_F(ComputerTest, ChasesTheNumberOfTheHeadingNotTheShortWay) {
  game.match.Heading[0] = 350;
  game.match.Heading[1] = 10;
  MoveComputer(game);
  EXPECT_EQ(game.match.Heading[1], 12);
}

TEST_F(ComputerTest, OneDegreeApartItSwingsAcrossEveryFrame) {
  game.match.Heading[0] = 100;
  game.match.Heading[1] = 99;
  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) {
    MoveComputer(game);
    seen.push_back(game.match.Heading[1]);
  }
  EXPECT_EQ(seen, (std::vector<int>{101, 99, 101, 99}));
}

TEST_F(ComputerTest, TurnsOnlyWithinTheWindow) {
  game.match.Heading[0] = 0;
  game.match.Heading[1] = 0;
  MoveComputer(game);
  EXPECT_EQ(game.match.Heading[1], 0);
  game.match.Heading[1] = 721;
  MoveComputer(game);
  EXPECT_EQ(game.match.Heading[1], 721);
  game.match.Heading[1] = 720;
  MoveComputer(game);
  EXPECT_EQ(game.match.Heading[1], 718);
}

TEST_F(ComputerTest, ASmallSpeedFactorRoundsTheTurnAway) {
  game.loop.SpeedFactor = 0.24f;
  game.match.Heading[1] = 100;
  MoveComputer(game);
  EXPECT_EQ(game.match.Heading[1], 100);
}

TEST_F(ComputerTest, BeforeTheFirstMeasurementItStandsButStillFires) {
  game.loop.SpeedFactor = 0;
  Apart(30);
  MoveComputer(game);
  EXPECT_EQ(game.match.Heading[1], 180);
  EXPECT_EQ(Fighter(1).Z, -75.0f);
  EXPECT_EQ(Sounds("fire.wav"), 1);
}
