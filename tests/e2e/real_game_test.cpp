// The real game binary in real windows on a private X server: settings window, launch,
// keys held as a player holds them, and every way out.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>

#include "e2e/game_process.h"
#include "e2e/x_server.h"
#include "support/data_files.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

using RealGameTest = DesktopTest;

TEST(RealGameWithoutDisplay, SaysInOneLineThatThereIsNoDisplayAndPointsToHeadless) {
  GameProcess game("", {});
  EXPECT_EQ(game.Wait(), 1);
  const std::string err = game.Errors();
  EXPECT_EQ(err.rfind("brawl: ", 0), 0u) << err;
  EXPECT_NE(err.find("no display"), std::string::npos) << err;
  EXPECT_NE(err.find("--headless"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
}

// Every way into the match and out of the game ends with status 0 and nothing said.
TEST_F(RealGameTest, EveryWayOutEndsWithStatusZero) {
  const struct {
    const char* what;
    std::vector<std::string> args;
    bool launch;      // Enter on the settings window first
    std::string out;  // what ends the game, on the window it ends
  } cases[] = {
      {"Escape", {}, true, "key Escape"},
      {"Escape on the settings window, its quit button", {}, false, "key Escape"},
      {"the settings window's close box", {}, false, "close box"},
      // No joystick: the tab passes the disabled joystick boxes and the high-resolution box.
      {"the quit button", {}, false, "key Tab Tab Return"},
      {"the window manager's close key", {"--windowed"}, true, "key alt+F4"},
      // xkill and some window managers destroy a window instead of asking it to close.
      {"the settings window destroyed", {}, false, "destroy"},
      {"the window destroyed", {"--windowed"}, true, "destroy"},
      {"the full screen destroyed", {}, true, "destroy"},
  };
  for (const auto& c : cases) {
    GameProcess game(x_.display(), c.args);
    std::string window = x_.WaitForWindow(kSettingsTitle);
    ASSERT_NE(window, "") << c.what << ": " << game.Errors();
    if (c.launch) {
      x_.Press("Return");
      ASSERT_TRUE(game.Shows(1)) << c.what << ": " << game.Errors();
      window = x_.WaitForWindow(kGameTitle);
      ASSERT_NE(window, "") << c.what << ": " << game.Errors();
      EXPECT_TRUE(x_.Windows(kSettingsTitle).empty()) << c.what;
      if (c.args.empty()) {
        EXPECT_TRUE(Until([&] {
          const XServer::Area area = x_.AreaOf(window);
          return area.width == 1024 && area.height == 768;
        })) << c.what;
      }
    }
    if (c.out == "destroy") {
      x_.Run("xdotool windowclose " + window);
    } else if (c.out == "close box") {  // at the right end of the title bar
      const XServer::Area area = x_.AreaOf(window);
      x_.Run("xdotool mousemove " + std::to_string(area.x + area.width - 10) + " " +
             std::to_string(area.y - 10) + " click 1");
    } else {
      // The game reads its keys as held in its passes; the windows take theirs as events.
      std::istringstream keys(c.out.substr(4));
      for (std::string key; keys >> key;) c.launch&& key == "Escape" ? game.Hold(x_, key) : x_.Press(key);
    }
    EXPECT_EQ(game.Wait(std::chrono::seconds(c.out == "destroy" ? 5 : 20)), 0)
        << c.what << ": " << game.Errors();
    if (c.out == "destroy" && !c.launch) {
      EXPECT_TRUE(OnlyGtkOwnWordsOnADestroyedWindow(game.Errors())) << c.what << ": " << game.Errors();
    } else {
      EXPECT_EQ(game.Errors(), "") << c.what;
    }
    if (!c.launch) {
      EXPECT_TRUE(x_.Windows(kGameTitle).empty()) << c.what;
    }
  }
}

TEST_F(RealGameTest, DataFileMissingAtTheLaunchGivesTheScreenBackAndNamesTheFile) {
  const std::string folder = CopyOfDataFolder();
  std::filesystem::remove(folder + "fire.wav");
  GameProcess game(x_.display(), {"--app-path", folder});
  ASSERT_NE(x_.WaitForWindow(kSettingsTitle), "") << game.Errors();
  x_.Press("Return");
  EXPECT_EQ(game.Wait(), 1);
  const std::string err = game.Errors();
  EXPECT_EQ(err.rfind("brawl: ", 0), 0u) << err;
  EXPECT_NE(err.find(folder + "fire.wav"), std::string::npos) << err;
  EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
  EXPECT_TRUE(x_.Windows(kGameTitle).empty());
  std::filesystem::remove_all(folder);
}

}  // namespace

}  // namespace brawl
