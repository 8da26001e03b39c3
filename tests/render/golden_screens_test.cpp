#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/golden.h"

namespace brawl {

// Whole screens of the headless game compared with the pictures in tests/golden/.
// BRAWL_UPDATE_GOLDEN=1 rewrites them; look at every rewritten picture before committing it.
namespace {

struct Screen {
  const char* golden;
  const char* script;
  int pass;
  std::vector<std::string> args;
};

void PrintTo(const Screen& s, std::ostream* out) {
  *out << s.golden;
}

class GoldenScreen : public ::testing::TestWithParam<Screen> {};

TEST_P(GoldenScreen, MatchesItsGoldenPicture) {
  const Screen& s = GetParam();
  const Surface shot = HeadlessScreenshot(s.script, s.pass, s.args);
  ASSERT_GT(shot.width, 0);
  EXPECT_TRUE(MatchesGolden(shot, s.golden));
}

// Player 1 fires straight at player 2 in a two-player match until the match ends (pass 234),
// or the other way round.
constexpr const char* kPlayer1Wins = "1 Down\n1 Down Enter\n260 Num3\n";
constexpr const char* kPlayer2Wins = "1 Down\n1 Down Enter\n260 M\n";
// A 59.94 Hz display, the clock starting at midnight so that the float timer resolves it.
const std::vector<std::string> kFps = {"--show-fps", "--clock-start", "0", "--frame-ms", "16.6833"};

// Named after its golden picture.
std::string ScreenName(const ::testing::TestParamInfo<Screen>& param) {
  const std::string name = param.param.golden;
  return name.substr(0, name.find('.'));
}

std::vector<std::string> Hires(std::vector<std::string> args) {
  args.push_back("--hires");
  return args;
}

INSTANTIATE_TEST_SUITE_P(Title, GoldenScreen,
                         ::testing::Values(Screen{"title_320_one_player.png", "3\n", 3, {}},
                                           Screen{"title_320_two_players.png", "3 Down\n", 3, {}},
                                           Screen{"title_640_one_player.png", "3\n", 3, {"--hires"}},
                                           Screen{"title_640_two_players.png", "3 Down\n", 3, {"--hires"}}),
                         ScreenName);

INSTANTIATE_TEST_SUITE_P(Result, GoldenScreen,
                         ::testing::Values(Screen{"result_320_player1.png", kPlayer1Wins, 250, {}},
                                           Screen{"result_320_player2.png", kPlayer2Wins, 250, {}},
                                           Screen{"result_640_player1.png", kPlayer1Wins, 250, {"--hires"}},
                                           Screen{"result_640_player2.png", kPlayer2Wins, 250, {"--hires"}}),
                         ScreenName);

// Whole frames of real matches: the arena, the sprites with their see-through black, the
// split screen and the overlay on top. Nothing moves until the first frame-rate measurement
// after 60 match frames; then player 1 walks forward firing and turns while the computer comes
// at it, or both players fire and player 2 turns away (the halves meet at x = 320).
INSTANTIATE_TEST_SUITE_P(
    Match, GoldenScreen,
    ::testing::Values(
        Screen{"render3d_one_player.png", "1 Enter\n62\n20 Up Num3\n12 Left Num3\n6 Up Num3\n", 100, {}},
        Screen{"render3d_two_players_hires.png",
               "1 Down\n1\n1 Enter\n62\n14 Up Num3 M\n14 Num3 M B\n8 Up S\n",
               98,
               {"--hires"}}),
    ScreenName);

INSTANTIATE_TEST_SUITE_P(FrameRateLine, GoldenScreen,
                         ::testing::Values(Screen{"fps_320.png", "1 Enter\n200\n", 130, kFps},
                                           Screen{"fps_640.png", "1 Enter\n200\n", 130, Hires(kFps)}),
                         ScreenName);

}  // namespace

}  // namespace brawl
