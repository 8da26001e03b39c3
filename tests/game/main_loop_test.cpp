#include "game/main_loop.h"

#include <gtest/gtest.h>

#include "game/event_pump.h"
#include "game/game.h"
#include "support/fake_platform.h"

namespace {

struct TimingTest : ::testing::Test {
  FakePlatform fake;
  Game game{fake.platform};
  void SetUp() override {
    game.loop.Fps = 60.0f;
    fake.clock.seconds = 100.0;  // fine enough for a float timer to measure 1/60 s
  }
  // One counted match frame that lasted `seconds`.
  void Frame(double seconds) {
    fake.clock.seconds += seconds;
    StepFrameTiming(game);
  }
};

TEST_F(TimingTest, FirstMeasurementAtTheSixtyFirstFrameGivesExactlyOne) {
  for (int i = 0; i < 60; ++i) {
    Frame(1 / 50.0);
    EXPECT_EQ(game.loop.SpeedFactor, 0.0f) << "frame " << i + 1;
  }
  EXPECT_EQ(game.loop.FpsFrameCount, 60);
  Frame(1 / 50.0);  // the 61st: FpsTimer was 0, so Fps stays 60
  EXPECT_EQ(game.loop.SpeedFactor, 1.0f);
  EXPECT_EQ(game.loop.Fps, 60.0f);
  EXPECT_EQ(game.loop.FpsFrameCount, 1);
  for (int i = 0; i < 60; ++i) Frame(1 / 50.0);  // the 121st measures the 60 frames before it
  EXPECT_NEAR(game.loop.Fps, 50.0f, 0.01f);
  EXPECT_NEAR(game.loop.SpeedFactor, 1.2f, 0.001f);
}

TEST_F(TimingTest, SpeedLockFreezesTheFactorButNotTheRate) {
  for (int i = 0; i < 121; ++i) Frame(1 / 60.0);
  const float locked = game.loop.SpeedFactor;
  game.loop.SpeedLock = 1;
  for (int i = 0; i < 60; ++i) Frame(1 / 30.0);
  EXPECT_NEAR(game.loop.Fps, 30.0f, 0.01f);
  EXPECT_EQ(game.loop.SpeedFactor, locked);
}

TEST_F(TimingTest, AClockThatStandsStillSkipsTheMeasurement) {
  for (int i = 0; i < 121; ++i) Frame(1 / 40.0);
  const float fps = game.loop.Fps, factor = game.loop.SpeedFactor;
  for (int i = 0; i < 60; ++i) Frame(0.0);
  EXPECT_EQ(game.loop.Fps, fps);
  EXPECT_EQ(game.loop.SpeedFactor, factor);
  fake.clock.seconds -= 5.0;  // and one that runs backwards
  for (int i = 0; i < 60; ++i) Frame(0.0);
  EXPECT_EQ(game.loop.Fps, fps);
  EXPECT_EQ(game.loop.SpeedFactor, factor);
  EXPECT_EQ(game.loop.FpsFrameCount, 1);
}

TEST(FpsLine, FormatsTheRateToOneDecimal) {
  EXPECT_EQ(FpsLineText(320, 240, 60.0f), "320X240  fps  60.0");
  EXPECT_EQ(FpsLineText(640, 480, 59.94f), "640X480  fps  59.9");
  EXPECT_EQ(FpsLineText(320, 240, 0.5f), "320X240  fps  .5");
  EXPECT_EQ(FpsLineText(320, 240, 59.96f), "320X240  fps  60.0");
  EXPECT_EQ(FpsLineText(320, 240, 144.25f), "320X240  fps  144.3");
}

TEST(CheckMatchEnd, PlayerOneIsTestedFirst) {
  FakePlatform fake;
  Game game{fake.platform};
  game.match.Fighter[0].Life = 0;
  game.match.Fighter[1].Life = -2;
  game.loop.GameMode = kTwoPlayers;
  CheckMatchEnd(game);
  EXPECT_EQ(game.loop.Winner, 2);
  EXPECT_EQ(game.loop.SpeedLock, 1);
  EXPECT_EQ(game.loop.GameMode, kResult);

  game.loop = LoopState{};
  game.loop.GameMode = kOnePlayer;
  game.match.Fighter[0].Life = 0.5f;
  CheckMatchEnd(game);
  EXPECT_EQ(game.loop.Winner, 1);
  game.loop = LoopState{};
  game.match.Fighter[1].Life = 1;
  CheckMatchEnd(game);
  EXPECT_EQ(game.loop.GameMode, kTitle);
  EXPECT_EQ(game.loop.Winner, 0);
}

TEST(MainLoop, BeforeTheLaunchEachPassSleepsUntilAWindowEventAndTheCloseBoxEndsIt) {
  FakePlatform fake;
  Game game{fake.platform};
  fake.dialog.pending = {DialogEvent::Close};
  RunMainLoop(game);
  EXPECT_EQ(fake.dialog.waits, std::vector<bool>{true});
  EXPECT_EQ(game.passes, 0);
  // After the launch the pump never waits: the flip paces the loop.
  game.loop.InMatch = -1;
  PumpWindowEvents(game);
  EXPECT_EQ(fake.dialog.waits, (std::vector<bool>{true, false}));
}

}  // namespace
