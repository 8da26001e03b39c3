// The player's own files through the real binary: env.ini and controls.ini from the
// configuration folder, read by a headless run only when --config-dir names it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/golden.h"
#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

namespace {

class PlayerFiles : public ::testing::Test {
 protected:
  void TearDown() override {
    unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(config_);
    fs::remove_all(out_);
  }
  std::string config_ = MakeTempDir();
  std::string out_ = MakeTempDir();
};

TEST_F(PlayerFiles, TheConfiguredEnvIniIsReadOnlyWhenAskedFor) {
  std::ofstream(config_ + "/env.ini") << "1000,wait\n1,hires\n0,fps\n";
  EXPECT_EQ(HeadlessScreenshot("2\n", 1, {"--config-dir", config_}).width, 640);
  // The player's XDG folder: a headless run leaves it alone.
  fs::create_directories(config_ + "/billboard-brawl");
  fs::copy_file(config_ + "/env.ini", config_ + "/billboard-brawl/env.ini");
  setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
  EXPECT_EQ(HeadlessScreenshot("2\n", 1).width, 320);
}

TEST_F(PlayerFiles, SwappedKeySetsPlayAsSwapped) {
  std::ofstream(config_ + "/controls.ini")
      << "[player1]\nforward = S\nback = X\nright = C\nleft = Z\nturn_right = N\nturn_left = B\nfire = M\n"
         "[player2]\nforward = Up\nback = Down\nright = Right\nleft = Left\nturn_right = Keypad 2\n"
         "turn_left = Keypad 1\nfire = Keypad 3\n";
  // Two players (Down on the title), then each walks, turns and fires differently; the same
  // play on the swapped keys.
  const std::string script = "1 Down\n1 Enter\n90 Up Num3 B Z\n90 Num2 Right S M\n";
  const std::string swapped = "1 X\n1 Enter\n90 S M Num1 Left\n90 N C Up Num3\n";
  const auto as_usual = RunHeadless(script);
  const auto swapped_keys = RunHeadless(swapped, {"--config-dir", config_});
  ASSERT_EQ(as_usual.size(), 183u);
  EXPECT_TRUE(as_usual == swapped_keys);
  // The check can tell: the swapped script on today's keys plays another match.
  EXPECT_FALSE(as_usual == RunHeadless(swapped));
}

TEST_F(PlayerFiles, WrittenControlsAreTodaysAndNeverOverwritten) {
  const RunResult write = RunBrawl({"--write-controls", "--config-dir", config_ + "/new"});
  EXPECT_EQ(write.exit_code, 0) << write.err;
  EXPECT_EQ(write.out, "brawl: wrote " + config_ + "/new/controls.ini\n");
  const std::string script = "1 Enter\n60 Up Num3 Num1\n";
  EXPECT_TRUE(RunHeadless(script, {"--config-dir", config_ + "/new"}) == RunHeadless(script));
  const RunResult again = RunBrawl({"--write-controls", "--config-dir", config_ + "/new"});
  EXPECT_EQ(again.exit_code, 1);
  EXPECT_NE(again.err.find("exists already"), std::string::npos) << again.err;
}

}  // namespace

}  // namespace brawl
