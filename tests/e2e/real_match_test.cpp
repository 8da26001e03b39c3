// A whole two-player match played in the real windows: the settings window as drawn, the
// high-resolution box ticked with the mouse and Enter pressed on it, the title as the screen
// shows it, and the match after a few seconds of held keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "e2e/game_process.h"
#include "e2e/x_server.h"
#include "formats/bitmap.h"
#include "support/golden.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

// The 640 x 480 picture on the 1024 x 768 screen fits once: whole factor 1, centred.
constexpr int kScreenWidth = 1024, kScreenHeight = 768;
constexpr int kLeft = (kScreenWidth - 640) / 2, kTop = (kScreenHeight - 480) / 2;

using Area = XServer::Area;

uint16_t At(const Surface& s, int x, int y) {
  return s.pixels[static_cast<size_t>(y) * static_cast<size_t>(s.width) + static_cast<size_t>(x)];
}

// Pixels of `area` that differ between two screens.
int Differing(const Surface& a, const Surface& b, Area area) {
  int differing = 0;
  for (int y = area.y; y < area.y + area.height; ++y)
    for (int x = area.x; x < area.x + area.width; ++x) differing += At(a, x, y) != At(b, x, y) ? 1 : 0;
  return differing;
}

class RealMatchTest : public DesktopTest {
 protected:
  // The whole screen as RGB565, kept as <build>/test-screens/RealMatchTest.<name>.png for a
  // look after a failure.
  Surface Shot(const std::string& name) {
    std::filesystem::create_directories(BuildDir() + "/test-screens");
    const std::string path = BuildDir() + "/test-screens/RealMatchTest." + name + ".png";
    x_.Screenshot(path);
    return LoadPng(path);
  }
  void Click(int x, int y) {
    x_.Run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
  }
};

TEST_F(RealMatchTest, HighResolutionTitleAndTwoPlayerMatchShowOnTheFullScreen) {
  GameProcess game(x_.display(), {});
  const std::string settings = x_.WaitForWindow(kSettingsTitle);
  ASSERT_NE(settings, "") << game.Errors();

  // The settings window with its controls drawn, not a bare background.
  const Area client = x_.AreaOf(settings);
  Surface drawn;
  std::set<uint16_t> colours;
  Until([&] {  // drawn once it shows more than its background
    drawn = Shot("settings");
    colours.clear();
    for (int y = client.y; y < client.y + 240 && drawn.width == kScreenWidth; ++y)
      for (int x = client.x; x < client.x + 320; ++x) colours.insert(At(drawn, x, y));
    return colours.size() >= 8;
  });
  ASSERT_EQ(drawn.width, kScreenWidth);
  EXPECT_GE(colours.size(), 8u);
  // Ticked with the mouse, then Enter on the box, which launches with the box still ticked:
  // the title below shows both took.
  Click(client.x + 50, client.y + 116);
  x_.Press("Return");
  ASSERT_NE(x_.WaitForWindow(kGameTitle), "") << game.Errors();
  // Away from the title's cursor; the first pictures shown.
  x_.Run("xdotool mousemove 0 0");
  ASSERT_TRUE(game.Shows(5)) << game.Errors();

  // The title picture doubled to 640 x 480, once on the screen, with black around it.
  const Surface title = Shot("title");
  ASSERT_EQ(title.width, kScreenWidth);
  ASSERT_EQ(title.height, kScreenHeight);
  const Surface source = LoadBitmap(BuildDir() + "/title.bmp");
  int off = 0, off_border = 0;
  std::string first_off;
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x) {
      const int px = x - kLeft, py = y - kTop;
      if (px < 0 || px >= 640 || py < 0 || py >= 480) {
        off_border += At(title, x, y) != 0 ? 1 : 0;
      } else if ((px < 150 || px >= 214 || py < 150 || py >= 278) &&  // the cursor's two places
                 At(title, x, y) != At(source, px / 2, py / 2)) {
        if (off++ == 0) first_off = std::to_string(px) + "," + std::to_string(py);
      }
    }
  EXPECT_EQ(off, 0) << "title differs from title.bmp doubled, first at " << first_off;
  EXPECT_EQ(off_border, 0) << "the border around the picture is not black";

  // Two players, started with the keypad's Enter; both move and fire for a while past the
  // start cue's pause.
  game.Hold(x_, "Down");
  game.Hold(x_, "KP_Enter");
  game.Hold(x_, "Up KP_3 s m", 90);
  game.Hold(x_, "Up KP_1 s b", 90);
  const Surface match = Shot("match");
  ASSERT_EQ(match.width, kScreenWidth);
  // What the views show is pinned by the golden pictures; here both halves left the title.
  for (const int left : {kLeft, kLeft + 320})
    EXPECT_GT(Differing(title, match, Area{left, kTop, 320, 480}), 320 * 480 / 2)
        << "the half at " << left - kLeft << " still shows the title";

  game.Hold(x_, "Escape");
  EXPECT_EQ(game.Wait(), 0) << game.Errors();
  EXPECT_EQ(game.Errors(), "");
}

}  // namespace

}  // namespace brawl
