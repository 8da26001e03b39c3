#include <gtest/gtest.h>

#include "support/golden.h"

namespace {

// Whole frames of real matches, drawn by the game itself in headless mode: the arena, the
// sprites with their see-through black, the split screen and the overlay on top.
TEST(Render3DGolden, OnePlayerMatchAt320x240) {
  // Nothing moves until the first frame-rate measurement after 60 match frames; then walk
  // forward firing and turn while the computer comes at us.
  const Surface shot = HeadlessScreenshot("1 Enter\n62\n20 Up Num3\n12 Left Num3\n6 Up Num3\n", 100);
  ASSERT_GT(shot.width, 0);
  EXPECT_TRUE(MatchesGolden(shot, "render3d_one_player.png"));
}

TEST(Render3DGolden, TwoPlayerMatchAt640x480) {
  // Both players fire, player 2 turns away; the halves meet at x = 320.
  const Surface shot =
      HeadlessScreenshot("1 Down\n1\n1 Enter\n62\n14 Up Num3 M\n14 Num3 M B\n8 Up S\n", 98, {"--hires"});
  ASSERT_GT(shot.width, 0);
  EXPECT_TRUE(MatchesGolden(shot, "render3d_two_players_hires.png"));
}

}  // namespace
