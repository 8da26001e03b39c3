// The match rules, driven through the whole game on the headless machine.
#include <gtest/gtest.h>

#include "support/run_brawl.h"

using Dump = std::vector<nlohmann::json>;

static float FighterValue(const Dump& d, int pass, int p, const char* field) {
  return d.at(pass)["Fighter"][p][field].get<float>();
}

// Enter on the title starts the one-player match in pass 1; the lines then follow.
TEST(MatchHeadless, NothingMovesForSixtyOneFramesThenTheFirstStepForward) {
  const Dump d = RunHeadless("1 Enter\n70 Up Num2\n");
  ASSERT_EQ(d.size(), 72u);
  for (int pass = 1; pass <= 61; ++pass) {
    EXPECT_EQ(FighterValue(d, pass, 0, "Z"), -45.0f) << pass;
    EXPECT_EQ(d[pass]["Heading"][0], 0) << pass;
  }
  EXPECT_EQ(d[60]["SpeedFactor"], 0);
  EXPECT_EQ(d[61]["SpeedFactor"], 1);
  EXPECT_EQ(FighterValue(d, 62, 0, "Z"), -45.5f);
  EXPECT_EQ(FighterValue(d, 62, 0, "X"), 49.999847412109375f);
  EXPECT_EQ(d[62]["Heading"][0], 2);
  EXPECT_EQ(d[63]["Heading"][0], 4);
}

TEST(MatchHeadless, TurningLeftFromZeroWrapsTo360) {
  const Dump d = RunHeadless("1 Enter\n60\n3 Num1\n");
  EXPECT_EQ(d[61]["Heading"][0], 0);
  EXPECT_EQ(d[62]["Heading"][0], 360);
  EXPECT_EQ(d[63]["Heading"][0], 358);
}

TEST(MatchHeadless, TheSpeedFactorFollowsTheMeasuredFrameTime) {
  // 20 ms frames: the 121st match frame measures 50 frames a second.
  const Dump d = RunHeadless("1 Enter\n125 Up\n", {"--frame-ms", "20", "--clock-start", "1"});
  EXPECT_NEAR(d[121]["SpeedFactor"].get<float>(), 1.2, 1e-4);
  EXPECT_NEAR(FighterValue(d, 121, 0, "Z") - FighterValue(d, 120, 0, "Z"), -0.5, 1e-5);
  EXPECT_NEAR(FighterValue(d, 122, 0, "Z") - FighterValue(d, 121, 0, "Z"), -0.6, 1e-4);
}

TEST(MatchHeadless, HoldingFireShootsEveryFifthFrame) {
  const Dump d = RunHeadless("1 Enter\n100 Num3\n");
  // The shot of the still frames waits at 5 until the factor is set.
  EXPECT_EQ(FighterValue(d, 61, 0, "Cooldown"), 5.0f);
  std::vector<int> shots;
  for (int pass = 62; pass <= 90; ++pass) {
    if (FighterValue(d, pass, 0, "Cooldown") == 5 - 1 && FighterValue(d, pass - 1, 0, "Cooldown") <= 0)
      shots.push_back(pass);
  }
  EXPECT_EQ(shots, (std::vector<int>{67, 72, 77, 82, 87}));
}

TEST(MatchHeadless, ComputerFirstBacksAwayFromPlayerOne) {
  const Dump d = RunHeadless("1 Enter\n70\n");
  EXPECT_EQ(FighterValue(d, 61, 1, "Z"), -55.0f);
  EXPECT_EQ(d[62]["Heading"][1], 178);
  EXPECT_LT(FighterValue(d, 62, 1, "Z"), -55.4f);
  EXPECT_LT(FighterValue(d, 63, 1, "Z"), FighterValue(d, 62, 1, "Z"));
}

// Two players: player 1 fires at player 2, who stands still.
class ShootoutHeadless : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { dump_ = new Dump(RunHeadless("1 Down\n1 Enter\n300 Num3\n")); }
  static void TearDownTestSuite() { delete dump_; }
  static const Dump& d() { return *dump_; }
  static inline Dump* dump_ = nullptr;
};

TEST_F(ShootoutHeadless, ThirtyTwoHitsOfFourEndTheMatchForPlayerOne) {
  const Dump& run = d();
  int hits = 0, end = -1;
  for (size_t pass = 3; pass < run.size() && end < 0; ++pass) {
    const float before = FighterValue(run, pass - 1, 1, "Life"), after = FighterValue(run, pass, 1, "Life");
    if (after != before) {
      EXPECT_EQ(before - after, 4.0f) << pass;
      ++hits;
    }
    if (run[pass]["GameMode"] == 3) end = static_cast<int>(pass);
  }
  EXPECT_EQ(hits, 32);
  ASSERT_GT(end, 0);
  EXPECT_EQ(FighterValue(run, end - 1, 1, "Life"), 0.0f);
  EXPECT_EQ(run[end - 1]["GameMode"], 2);
  EXPECT_EQ(run[end]["Winner"], 1);
  EXPECT_EQ(FighterValue(run, end, 0, "Life"), 128.0f);
}

TEST_F(ShootoutHeadless, ASplashArcsAndLandsInItsTwentyFirstFrame) {
  const Dump& run = d();
  size_t spawn = 0;
  while (spawn < run.size() && run[spawn]["Blood"][1][0]["Active"] == 0) ++spawn;
  ASSERT_LT(spawn + 21, run.size());
  EXPECT_EQ(run[spawn]["Blood"][1][0]["Y"], 1);
  float peak = 0;
  for (size_t pass = spawn + 1; pass <= spawn + 20; ++pass) {
    EXPECT_EQ(run[pass]["Blood"][1][0]["Active"], -1) << pass;
    peak = std::max(peak, run[pass]["Blood"][1][0]["Y"].get<float>());
  }
  EXPECT_NEAR(peak, 5.55, 1e-5);
  const auto& landed = run[spawn + 21]["Blood"][1][0];
  EXPECT_EQ(landed["Active"], 0);
  EXPECT_EQ(landed["Y"], 100);
  EXPECT_EQ(landed["T"], 0);
}

TEST(MatchHeadless, BothLivesGoneInOneFrameGivePlayerTwoTheWin) {
  // Both walk sideways out of the arena and bleed to death together.
  const Dump d = RunHeadless("1 Down\n1 Enter\n300 Left Z\n");
  size_t end = 1;
  while (end < d.size() && d[end]["GameMode"] != 3) ++end;
  ASSERT_LT(end, d.size());
  EXPECT_LE(FighterValue(d, end - 1, 0, "Life"), 0.0f);
  EXPECT_LE(FighterValue(d, end - 1, 1, "Life"), 0.0f);
  EXPECT_GT(FighterValue(d, end - 2, 0, "Life"), 0.0f);
  EXPECT_GT(FighterValue(d, end - 2, 1, "Life"), 0.0f);
  EXPECT_EQ(d[end]["Winner"], 2);
}
