// The real game binary in real windows on a private X server: settings window, launch,
// keys held as a player holds them, and every way out.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "e2e/game_process.h"
#include "e2e/x_server.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

class RealGameTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(x_.Start(), ""); }
  void TearDown() override {
    if (HasFailure()) x_.KeepScreenOfAFailure(BuildDir());
  }
  bool Visible(const std::string& title) { return !x_.Windows(title).empty(); }
  void HoldKey(const std::string& key) { x_.HoldKey(key); }
  std::string WaitForWindow(const std::string& title) { return x_.WaitForWindow(title); }

  XServer x_;
};

TEST(RealGameWithoutDisplay, SaysInOneLineThatThereIsNoDisplayAndPointsToHeadless) {
  GameProcess game("", {});
  EXPECT_EQ(game.Wait(), 1);
  const std::string err = game.Errors();
  EXPECT_EQ(err.rfind("brawl: ", 0), 0u) << err;
  EXPECT_NE(err.find("no display"), std::string::npos) << err;
  EXPECT_NE(err.find("--headless"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
}

TEST_F(RealGameTest, EnterLaunchesFullScreenAndEscapeEndsWithStatusZero) {
  const auto start = std::chrono::steady_clock::now();
  GameProcess game(x_.display(), {});
  ASSERT_NE(WaitForWindow(kSettingsTitle), "") << game.Errors();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  RecordProperty("settings_window_shown_ms", static_cast<int>(seconds * 1000));

  HoldKey("Return");
  const std::string window = WaitForWindow(kGameTitle);
  ASSERT_NE(window, "") << game.Errors();
  EXPECT_FALSE(Visible(kSettingsTitle));
  const XServer::Area g = x_.AreaOf(window);
  EXPECT_EQ(g.width, 1024);
  EXPECT_EQ(g.height, 768);

  HoldKey("Escape");
  EXPECT_EQ(game.Wait(), 0) << game.Errors();
  EXPECT_EQ(game.Errors(), "");
}

TEST_F(RealGameTest, DataFileMissingAtTheLaunchGivesTheScreenBackAndNamesTheFile) {
  const std::string folder = MakeTempDir();
  for (const auto& entry : std::filesystem::directory_iterator(BuildDir())) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".ini" || ext == ".x" || ext == ".bmp" || ext == ".wav") {
      std::filesystem::copy_file(entry.path(), folder + "/" + entry.path().filename().string());
    }
  }
  std::filesystem::remove(folder + "/fire.wav");
  GameProcess game(x_.display(), {"--app-path", folder});
  ASSERT_NE(WaitForWindow(kSettingsTitle), "") << game.Errors();
  HoldKey("Return");
  EXPECT_EQ(game.Wait(), 1);
  const std::string err = game.Errors();
  EXPECT_EQ(err.rfind("brawl: ", 0), 0u) << err;
  EXPECT_NE(err.find(folder + "/fire.wav"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
  EXPECT_FALSE(Visible(kGameTitle));
  std::filesystem::remove_all(folder);
}

TEST_F(RealGameTest, StartedFromAnotherFolderItFindsItsDataBesideTheProgram) {
  const std::string elsewhere = MakeTempDir();
  GameProcess game(x_.display(), {}, elsewhere);
  ASSERT_NE(WaitForWindow(kSettingsTitle), "") << game.Errors();
  HoldKey("Return");
  ASSERT_NE(WaitForWindow(kGameTitle), "") << game.Errors();
  HoldKey("Escape");
  EXPECT_EQ(game.Wait(), 0) << game.Errors();
  std::filesystem::remove_all(elsewhere);
}

TEST_F(RealGameTest, ClosingTheSettingsWindowEndsWithStatusZeroAndNoGameWindow) {
  GameProcess game(x_.display(), {});
  const std::string window = WaitForWindow(kSettingsTitle);
  ASSERT_NE(window, "") << game.Errors();
  // A click on the window manager's close box, at the right end of the title bar.
  const XServer::Area area = x_.AreaOf(window);
  x_.Run("xdotool mousemove " + std::to_string(area.x + area.width - 10) + " " + std::to_string(area.y - 10) +
         " sleep 0.1 click 1");
  EXPECT_EQ(game.Wait(), 0) << game.Errors();
  EXPECT_EQ(game.Errors(), "");
}

TEST_F(RealGameTest, QuitButtonTwoTabsFromTheStartButtonEndsAtOnce) {
  GameProcess game(x_.display(), {});
  ASSERT_NE(WaitForWindow(kSettingsTitle), "") << game.Errors();
  // No joystick: the tab passes the disabled joystick boxes and the high-resolution box.
  HoldKey("Tab");
  HoldKey("Tab");
  HoldKey("Return");
  EXPECT_EQ(game.Wait(), 0) << game.Errors();
  EXPECT_FALSE(Visible(kGameTitle));
}

TEST_F(RealGameTest, ClosingTheGameWindowEndsWithStatusZero) {
  GameProcess game(x_.display(), {"--windowed"});
  ASSERT_NE(WaitForWindow(kSettingsTitle), "") << game.Errors();
  HoldKey("Return");
  ASSERT_NE(WaitForWindow(kGameTitle), "") << game.Errors();
  x_.Run("xdotool keydown alt+F4 sleep 0.2 keyup alt+F4");  // the window manager's close key
  EXPECT_EQ(game.Wait(), 0) << game.Errors();
}

// xkill and some window managers destroy a window instead of asking it to close.
TEST_F(RealGameTest, SettingsWindowDestroyedFromOutsideEndsAtOnceWithStatusZero) {
  GameProcess game(x_.display(), {});
  const std::string window = WaitForWindow(kSettingsTitle);
  ASSERT_NE(window, "") << game.Errors();
  x_.Run("xdotool windowclose " + window);
  EXPECT_EQ(game.Wait(std::chrono::seconds(5)), 0) << game.Errors();
  EXPECT_TRUE(OnlyGtkOwnWordsOnADestroyedWindow(game.Errors())) << game.Errors();
}

TEST_F(RealGameTest, GameWindowDestroyedFromOutsideEndsTheRunWithStatusZero) {
  for (const bool windowed : {true, false}) {
    GameProcess game(x_.display(),
                     windowed ? std::vector<std::string>{"--windowed"} : std::vector<std::string>{});
    ASSERT_NE(WaitForWindow(kSettingsTitle), "") << game.Errors();
    HoldKey("Return");
    const std::string window = WaitForWindow(kGameTitle);
    ASSERT_NE(window, "") << game.Errors();
    x_.Run("xdotool windowclose " + window);
    EXPECT_EQ(game.Wait(std::chrono::seconds(5)), 0)
        << (windowed ? "windowed: " : "full screen: ") << game.Errors();
    EXPECT_EQ(game.Errors(), "");
  }
}

TEST_F(RealGameTest, ArrowAndEnterHeldOnTheTitleStartAMatch) {
  GameProcess game(x_.display(), {"--windowed"});
  ASSERT_NE(WaitForWindow(kSettingsTitle), "") << game.Errors();
  HoldKey("Return");
  ASSERT_NE(WaitForWindow(kGameTitle), "") << game.Errors();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const std::string dir = MakeTempDir();
  x_.Screenshot(dir + "/title.png");
  HoldKey("Down");
  HoldKey("KP_Enter");
  std::this_thread::sleep_for(std::chrono::seconds(3));
  x_.Screenshot(dir + "/match.png");
  // The title and the two-player match share hardly a pixel.
  const std::string differing =
      x_.Run("compare -metric AE '" + dir + "/title.png' '" + dir + "/match.png' null: 2>&1");
  EXPECT_GT(std::atol(differing.c_str()), 1024L * 768L / 4) << differing;
  HoldKey("Escape");
  EXPECT_EQ(game.Wait(), 0) << game.Errors();
  std::filesystem::remove_all(dir);
}

}  // namespace

}  // namespace brawl
