// The installed game in a real window: both windows carry the menu entry's class and icon and
// speak English to a player who set no language; F11 and Alt+Enter switch between full screen
// and a window, F12 saves the picture, and the player's home gets that and nothing else.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "e2e/game_process.h"
#include "e2e/x_server.h"
#include "formats/bitmap.h"
#include "support/golden.h"
#include "support/install_tree.h"
#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

namespace {

using Size = std::pair<int, int>;  // width, height

// Every file under `folder` with its size and modification time.
std::map<std::string, std::string> Listing(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    std::string stamp = std::to_string(entry.last_write_time().time_since_epoch().count());
    if (entry.is_regular_file()) stamp += " " + std::to_string(entry.file_size());
    files[fs::relative(entry.path(), folder).string()] = stamp;
  }
  return files;
}

class WindowKeys : public ::testing::Test {
 protected:
  // The install read-only, as under /usr (root may still write there: the listing tells).
  static void SetUpTestSuite() {
    prefix_ = new std::string(InstallIntoTempPrefix());
    ASSERT_EQ(RunShell("chmod -R a-w '" + *prefix_ + "'").exit_code, 0);
  }
  static void TearDownTestSuite() {
    RunShell("chmod -R u+w '" + *prefix_ + "'");
    fs::remove_all(*prefix_);
    delete prefix_;
  }
  void SetUp() override {
    // The window manager without its shortcuts: it would take F11 for itself, which most
    // desktops leave to the game.
    ASSERT_EQ(x_.Start({"-kbdconfig", "/dev/null"}), "");
    // The player's home, nothing of the tester's.
    saved_home_ = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home_.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
  }
  void TearDown() override {
    setenv("HOME", saved_home_.c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    fs::remove_all(home_);
    fs::remove_all(work_);
  }

  Size SizeOf(const std::string& window) {
    const XServer::Area a = x_.AreaOf(window);
    return {a.width, a.height};
  }
  // The window's size once it has become `wanted`, or what it is when waiting gives up.
  Size WaitForSize(const std::string& window, Size wanted) {
    Size s;
    Until([&] { return (s = SizeOf(window)) == wanted; });
    return s;
  }
  // The installed game started in a window from an empty folder, up to its title, by a player
  // who set no language: both windows belong to the menu entry, with its class and the
  // installed icon. `env` is added to the game's.
  std::string LaunchInstalled(std::unique_ptr<GameProcess>& game, const std::vector<std::string>& env = {}) {
    std::vector<std::string> english = kEnglish;
    english.insert(english.end(), env.begin(), env.end());
    game = std::make_unique<GameProcess>(x_.display(), std::vector<std::string>{"--windowed"}, work_,
                                         *prefix_ + "/bin/brawl", english);
    const std::string settings = x_.WaitForWindow(kEnglishSettingsTitle);
    if (settings.empty()) return "";
    EXPECT_EQ(x_.ClassOf(settings), std::string("\"brawl\", \"") + BRAWL_APP_ID + "\"");
    EXPECT_EQ(x_.IconSizeOf(settings), "64 x 64");
    x_.Press("Return");
    const std::string window = game->Shows(3) ? x_.WaitForWindow(kGameTitle) : "";
    EXPECT_EQ(x_.ClassOf(window), std::string("\"") + BRAWL_APP_ID + "\", \"" + BRAWL_APP_ID + "\"");
    EXPECT_EQ(x_.IconSizeOf(window), "64 x 64");
    return window;
  }

  XServer x_;
  std::string home_ = MakeTempDir();
  std::string work_ = MakeTempDir();
  std::string saved_home_;
  static std::string* prefix_;
};
std::string* WindowKeys::prefix_ = nullptr;

TEST_F(WindowKeys, SwitchFullScreenAndSaveThePictureIntoTheHomeOnly) {
  const auto installed = Listing(*prefix_);
  // The audio SDL picks for itself: sound, or without a sound card the game's one warning and
  // not a word of ALSA's.
  std::unique_ptr<GameProcess> game;
  const std::string window = LaunchInstalled(game, {"SDL_AUDIODRIVER="});
  ASSERT_NE(window, "") << game->Errors();
  // The window manager may make the window larger than asked, never the whole screen.
  const Size windowed = SizeOf(window), full{1024, 768};
  EXPECT_NE(windowed, full);
  EXPECT_GE(windowed.first, 640);

  x_.Press("F11");
  EXPECT_EQ(WaitForSize(window, full), full);
  // Held over several passes, as a player's fingers hold it; Alt let go first.
  x_.Run("xdotool keydown alt keydown Return");
  game->Shows(3);
  x_.Run("xdotool keyup alt");
  game->Shows(3);
  x_.Run("xdotool keyup Return");
  EXPECT_EQ(WaitForSize(window, windowed), windowed);
  x_.Press("F11");
  EXPECT_EQ(WaitForSize(window, full), full);
  x_.Press("F11");
  EXPECT_EQ(WaitForSize(window, windowed), windowed);

  // Still the title: the Enter of Alt+Enter started no match.
  x_.Press("F12");
  EXPECT_TRUE(Until([&] { return game->Output().find("screenshot saved") != std::string::npos; }));
  game->Hold(x_, "Escape");
  ASSERT_EQ(game->Wait(), 0) << game->Errors();
  const std::string err = game->Errors();
  EXPECT_TRUE(err.empty() ||
              err == "brawl: warning: audio device: cannot be opened; the game runs without sound\n")
      << err;
  const std::string folder = home_ + "/.local/share/billboard-brawl/screenshots/";
  ASSERT_TRUE(fs::is_directory(folder));
  const auto shots = Listing(folder);
  ASSERT_EQ(shots.size(), 1u);
  const std::string shot = folder + shots.begin()->first;
  EXPECT_EQ(game->Output(), "brawl: screenshot saved to " + shot + "\n");
  const Surface picture = LoadPng(shot);
  ASSERT_EQ(picture.width, 320);
  ASSERT_EQ(picture.height, 240);
  const Surface title = LoadBitmap(*prefix_ + "/share/billboard-brawl/title.bmp");
  int same = 0;
  for (size_t i = 0; i < picture.pixels.size(); ++i) same += picture.pixels[i] == title.pixels[i] ? 1 : 0;
  // All but the cursor's few pixels.
  EXPECT_GT(same, 320 * 240 * 9 / 10);

  // Nothing else written: not the working folder, not the install, not elsewhere at home.
  EXPECT_TRUE(fs::is_empty(work_));
  EXPECT_EQ(Listing(*prefix_), installed);
  std::vector<std::string> at_home;
  for (const auto& [name, stamp] : Listing(home_)) {
    if (!fs::is_directory(home_ + "/" + name)) at_home.push_back(name);
  }
  EXPECT_EQ(at_home,
            (std::vector<std::string>{".local/share/billboard-brawl/screenshots/" + shots.begin()->first}));
}

TEST_F(WindowKeys, AScreenshotThatCannotBeWrittenIsAWarningAndTheGameGoesOn) {
  std::ofstream(home_ + "/not-a-folder") << "x";
  setenv("XDG_DATA_HOME", (home_ + "/not-a-folder").c_str(), 1);
  std::unique_ptr<GameProcess> game;
  ASSERT_NE(LaunchInstalled(game), "") << game->Errors();
  x_.Press("F12");
  EXPECT_TRUE(Until([&] { return game->Errors().find("cannot save") != std::string::npos; }));
  EXPECT_TRUE(game->Shows(3)) << "the game ended";
  const std::string errors = game->Errors();
  EXPECT_NE(errors.find("brawl: warning: cannot save the screenshot: " + home_ +
                        "/not-a-folder/billboard-brawl/screenshots/"),
            std::string::npos)
      << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
}

}  // namespace

}  // namespace brawl
