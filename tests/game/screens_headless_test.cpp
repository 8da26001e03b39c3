// The screens and their keys, driven through the whole game on the headless machine.
#include <gtest/gtest.h>

#include "support/run_brawl.h"

using Dump = std::vector<nlohmann::json>;

std::vector<int> Column(const Dump& d, const char* field) {
  std::vector<int> values;
  for (const auto& line : d) values.push_back(line[field].get<int>());
  return values;
}

TEST(ScreensHeadless, TitleCursorFollowsUpAndDownAndDownWins) {
  const Dump d = RunHeadless("1 Down\n1\n1 Up\n1 Up Down\n1 S X\n1 Up\n");
  EXPECT_EQ(Column(d, "TitleChoice"), (std::vector<int>{1, 2, 2, 1, 2, 2, 1}));
  EXPECT_EQ(Column(d, "GameMode"), std::vector<int>(7, 0));
}

TEST(ScreensHeadless, EnterStartsTheChosenMatchAndACursorMoveWithItIsLost) {
  const Dump d = RunHeadless("1 Down\n1 Enter Up\n");
  EXPECT_EQ(d[2]["GameMode"], 2);
  EXPECT_EQ(d[2]["TitleChoice"], 1);  // moved after the start: changes nothing
  EXPECT_EQ(d[2]["Sounds"], nlohmann::json::array({"readygo.wav"}));
  // The start cue's pause holds the clock while its slot stays busy.
  EXPECT_EQ(d[2]["SoundBusy"][1], -1);
}

// Both players walk out of the arena and the match ends in pass `end`.
constexpr int kEnd = 291;
constexpr const char* kWalkOut = "1 Down\n1 Enter\n288 Left Z\n";

TEST(ScreensHeadless, OnTheResultScreenEnterDoesNothingAndSpaceReturnsToTheTitle) {
  const Dump d = RunHeadless(std::string(kWalkOut) + "5 Enter Up\n1 Space\n1 Enter\n");
  ASSERT_EQ(d[kEnd]["GameMode"], 3);
  for (int pass = kEnd; pass <= kEnd + 4; ++pass) EXPECT_EQ(d[pass]["GameMode"], 3) << pass;
  const auto& back = d[kEnd + 5];
  EXPECT_EQ(back["GameMode"], 0);
  EXPECT_EQ(back["Fighter"][0]["Life"], 128);
  EXPECT_EQ(back["TitleChoice"], 1);
  ASSERT_EQ(back["Sounds"].size(), 1u);
  EXPECT_EQ(back["Sounds"][0].get<std::string>().rfind("title", 0), 0u);
  // Enter on the title that follows starts the next match at once.
  EXPECT_EQ(d[kEnd + 6]["GameMode"], 1);
}

TEST(ScreensHeadless, ASpaceHeldWhenTheMatchEndsLeavesTheResultAtOnce) {
  const Dump d = RunHeadless("1 Down\n1 Enter\n289 Left Z Space\n2\n");
  EXPECT_EQ(d[kEnd - 1]["GameMode"], 2);
  EXPECT_EQ(d[kEnd]["GameMode"], 0);
  EXPECT_EQ(d[kEnd]["Winner"], 2);
}

TEST(ScreensHeadless, InTheOnePlayerModePlayerTwosKeysChangeNothing) {
  const Dump quiet = RunHeadless("1 Enter\n120\n");
  const Dump pressed = RunHeadless("1 Enter\n120 S X C Z N B M\n");
  ASSERT_EQ(quiet.size(), pressed.size());
  for (size_t pass = 0; pass < quiet.size(); ++pass) EXPECT_EQ(quiet[pass], pressed[pass]) << pass;
}

TEST(ScreensHeadless, EscapeEndsTheRunFromAnyScreenBeforeItsPassIsWritten) {
  // Lines for pass 0 and every pass before the one with Escape.
  EXPECT_EQ(RunHeadless("3\n1 Escape\n5\n").size(), 4u);
  EXPECT_EQ(RunHeadless("1 Enter\n3\n1 Escape\n5\n").size(), 5u);
  EXPECT_EQ(RunHeadless(std::string(kWalkOut) + "2\n1 Escape\n5\n").size(), size_t{kEnd} + 2);
}
