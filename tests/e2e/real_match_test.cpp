// A whole two-player match played in the real windows: the settings window as shown, the
// high-resolution box ticked with the mouse, the title as the screen shows it, and the
// match after a few seconds of held keys.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <thread>

#include "e2e/game_process.h"
#include "e2e/x_server.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

// The 640 x 480 picture on the 1024 x 768 screen fits once: whole factor 1, centred.
constexpr int kScreenWidth = 1024, kScreenHeight = 768;
constexpr int kLeft = (kScreenWidth - 640) / 2, kTop = (kScreenHeight - 480) / 2;
// RGB565 keeps 5 or 6 bits of each channel.
constexpr int kChannelSlack = 8;

struct Rgb {
  int r = 0, g = 0, b = 0;
  bool operator<(const Rgb& o) const { return r != o.r ? r < o.r : g != o.g ? g < o.g : b < o.b; }
};

bool Near(Rgb a, Rgb b, int slack = kChannelSlack) {
  return std::abs(a.r - b.r) <= slack && std::abs(a.g - b.g) <= slack && std::abs(a.b - b.b) <= slack;
}

struct Picture {
  int width = 0, height = 0;
  std::vector<uint8_t> bytes;
  Rgb At(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return Rgb{bytes[i], bytes[i + 1], bytes[i + 2]};
  }
};

// Any picture ImageMagick reads, as 8-bit RGB; empty when it cannot be read.
Picture LoadRgb(const std::string& path) {
  Picture p;
  const std::string raw = path + ".rgb";
  const std::string size_command = "identify -format '%w %h' '" + path + "' 2>/dev/null";
  FILE* pipe = popen(size_command.c_str(), "r");
  if (pipe == nullptr) return p;
  if (fscanf(pipe, "%d %d", &p.width, &p.height) != 2) p.width = p.height = 0;
  pclose(pipe);
  if (std::system(("convert '" + path + "' -depth 8 'rgb:" + raw + "' 2>/dev/null").c_str()) != 0)
    return Picture{};
  std::ifstream in(raw, std::ios::binary);
  p.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  std::filesystem::remove(raw);
  if (p.bytes.size() != static_cast<size_t>(p.width) * p.height * 3) return Picture{};
  return p;
}

using Origin = XServer::Area;

class RealMatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(x_.Start(), "");
    dir_ = MakeTempDir();
  }
  void TearDown() override {
    if (HasFailure()) {
      const std::string stem = x_.KeepScreenOfAFailure(BuildDir());
      for (const char* shot : {"settings", "ticked", "title", "match"})
        if (Exists(dir_ + "/" + shot + ".png"))
          std::filesystem::copy_file(dir_ + "/" + shot + ".png", stem + "." + shot + ".png",
                                     std::filesystem::copy_options::overwrite_existing);
    }
    std::filesystem::remove_all(dir_);
  }

  std::string WaitForWindow(const std::string& title) { return x_.WaitForWindow(title); }
  Origin ClientArea(const std::string& window) { return x_.AreaOf(window); }
  void HoldKey(const std::string& key) { x_.HoldKey(key); }
  // The whole screen, kept under `name` in the run's folder.
  Picture Shot(const std::string& name) {
    const std::string path = dir_ + "/" + name + ".png";
    x_.Screenshot(path);
    return LoadRgb(path);
  }

  XServer x_;
  std::string dir_;
};

int DistinctColours(const Picture& p, Origin area) {
  std::set<Rgb> colours;
  for (int y = area.y; y < area.y + area.height; ++y) {
    for (int x = area.x; x < area.x + area.width; ++x) colours.insert(p.At(x, y));
  }
  return static_cast<int>(colours.size());
}

int DarkPixels(const Picture& p, Origin area) {
  int dark = 0;
  for (int y = area.y; y < area.y + area.height; ++y) {
    for (int x = area.x; x < area.x + area.width; ++x) {
      const Rgb c = p.At(x, y);
      if (c.r + c.g + c.b < 3 * 96) ++dark;
    }
  }
  return dark;
}

// Pixels of `area` (picture coordinates) that differ between two screens.
int Differing(const Picture& a, const Picture& b, Origin area) {
  int differing = 0;
  for (int y = area.y; y < area.y + area.height; ++y) {
    for (int x = area.x; x < area.x + area.width; ++x) {
      differing += Near(a.At(kLeft + x, kTop + y), b.At(kLeft + x, kTop + y)) ? 0 : 1;
    }
  }
  return differing;
}

TEST_F(RealMatchTest, HighResolutionTitleAndTwoPlayerMatchShowOnTheFullScreen) {
  GameProcess game(x_.display(), {});
  const std::string settings = WaitForWindow(kSettingsTitle);
  ASSERT_NE(settings, "") << game.Errors();

  // The settings window with its controls drawn, not a bare background.
  const Origin client = ClientArea(settings);
  EXPECT_EQ(client.width, 320);
  EXPECT_EQ(client.height, 240);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const Picture before = Shot("settings");
  ASSERT_EQ(before.width, kScreenWidth);
  const Origin whole{client.x, client.y, 320, 240};
  EXPECT_GE(DistinctColours(before, whole), 8);
  const Origin high_res_box{client.x + 40, client.y + 104, 193, 25};
  EXPECT_GT(DarkPixels(before, high_res_box), 40) << "no caption on the high-resolution box";

  // Ticked with the mouse: the box shows its tick.
  x_.Run("xdotool mousemove " + std::to_string(client.x + 50) + " " + std::to_string(client.y + 116) +
         " sleep 0.1 click 1 sleep 0.3");
  const Picture ticked = Shot("ticked");
  int changed = 0;
  for (int y = high_res_box.y; y < high_res_box.y + high_res_box.height; ++y) {
    for (int x = high_res_box.x; x < high_res_box.x + high_res_box.width; ++x) {
      changed += Near(before.At(x, y), ticked.At(x, y), 0) ? 0 : 1;
    }
  }
  EXPECT_GT(changed, 4) << "the high-resolution box did not change when clicked";

  // The click left the keyboard on the box, where Enter would untick it again: the start
  // button is clicked instead.
  x_.Run("xdotool mousemove " + std::to_string(client.x + 160) + " " + std::to_string(client.y + 216) +
         " sleep 0.1 click 1");
  const std::string window = WaitForWindow(kGameTitle);
  ASSERT_NE(window, "") << game.Errors();
  // Away from the title's cursor; a moment for the first frames.
  x_.Run("xdotool mousemove 0 0");
  std::this_thread::sleep_for(std::chrono::milliseconds(800));

  // The title picture doubled to 640 x 480, once on the screen, with black around it.
  const Picture title = Shot("title");
  ASSERT_EQ(title.width, kScreenWidth);
  ASSERT_EQ(title.height, kScreenHeight);
  const Picture source = LoadRgb(BuildDir() + "/title.bmp");
  ASSERT_EQ(source.width, 320);
  ASSERT_EQ(source.height, 240);
  int off = 0, off_border = 0;
  std::string first_off;
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      const int px = x - kLeft, py = y - kTop;
      const bool inside = px >= 0 && px < 640 && py >= 0 && py < 480;
      if (!inside) {
        off_border += Near(title.At(x, y), Rgb{0, 0, 0}) ? 0 : 1;
        continue;
      }
      // The cursor stands on the first or second choice.
      if (px >= 150 && px < 214 && py >= 150 && py < 278) continue;
      if (!Near(title.At(x, y), source.At(px / 2, py / 2))) {
        if (off == 0) first_off = std::to_string(px) + "," + std::to_string(py);
        ++off;
      }
    }
  }
  EXPECT_EQ(off, 0) << "title differs from title.bmp doubled, first at " << first_off;
  EXPECT_EQ(off_border, 0) << "the border around the picture is not black";

  // Two players; both move and fire for a while past the start cue's pause.
  HoldKey("Down");
  HoldKey("Return");
  x_.Run(
      "xdotool keydown Up keydown KP_3 keydown s keydown m sleep 1.5 keyup KP_3 keyup m "
      "keydown KP_1 keydown b sleep 1.5 keyup Up keyup s keyup KP_1 keyup b");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const Picture match = Shot("match");
  ASSERT_EQ(match.width, kScreenWidth);

  // What the views show is pinned by the golden pictures; here both halves left the title.
  const Origin left_half{0, 0, 320, 480}, right_half{320, 0, 320, 480};
  EXPECT_GT(Differing(title, match, left_half), 320 * 480 / 2) << "the left half still shows the title";
  EXPECT_GT(Differing(title, match, right_half), 320 * 480 / 2) << "the right half still shows the title";

  HoldKey("Escape");
  EXPECT_EQ(game.Wait(), 0) << game.Errors();
  EXPECT_EQ(game.Errors(), "");
}

}  // namespace

}  // namespace brawl
