#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/golden.h"
#include "support/run_brawl.h"

namespace brawl {

// Whole screens of the headless game compared with the pictures in tests/golden/, as
// tests/render/golden_screens.tsv lists them. BRAWL_UPDATE_GOLDEN=1 rewrites them; look at
// every rewritten picture before committing it.
namespace {

using Row = std::vector<std::string>;

class GoldenScreen : public ::testing::TestWithParam<Row> {};

TEST_P(GoldenScreen, MatchesItsGoldenPicture) {
  const Row& screen = GetParam();
  std::vector<std::string> args;
  std::istringstream words(screen[3]);
  for (std::string word; words >> word;) args.push_back(word);
  const Surface shot = HeadlessScreenshot(screen[2], std::stoi(screen[1]), args);
  ASSERT_GT(shot.width, 0);
  EXPECT_TRUE(MatchesGolden(shot, screen[0]));
}

INSTANTIATE_TEST_SUITE_P(Screens, GoldenScreen, ::testing::ValuesIn(Rows("tests/render/golden_screens.tsv")),
                         [](const auto& row) { return row.param[0].substr(0, row.param[0].find('.')); });

}  // namespace

}  // namespace brawl
