// Surfaces where the golden pictures do not reach: every edge and extreme of drawing, text
// and saving.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>

#include "base/fatal_error.h"
#include "formats/png.h"
#include "gfx/surface.h"
#include "gfx/text.h"
#include "support/golden.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

constexpr uint16_t kUntouched = 0xBEEF;

// Neighbouring pixels all differ, so that a copy from the wrong place shows.
Surface Numbered(int width, int height) {
  Surface s = MakeSurface(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      auto v = static_cast<uint16_t>((unsigned(x) * 0x9E37u) ^ (unsigned(y) * 0x85EBu) ^ 0x5A5Au);
      if (v == kUntouched) v ^= 1;
      s.pixels[static_cast<size_t>(y * width + x)] = v;
    }
  return s;
}

uint16_t At(const Surface& s, int x, int y) {
  return s.pixels.at(static_cast<size_t>(y * s.width + x));
}

Surface Canvas(int width, int height) {
  Surface s = MakeSurface(width, height);
  s.pixels.assign(s.pixels.size(), kUntouched);
  return s;
}

// Where a 1:1 copy puts source pixels, worked out pixel by pixel: the pixel of the target at
// (tx, ty) comes from source (sx, sy) when both lie inside their pictures and the rectangle.
std::optional<uint16_t> ExpectedFast(const Surface& source, int x, int y, Rect r, int tx, int ty) {
  const int64_t sx = int64_t{tx} - x + r.left, sy = int64_t{ty} - y + r.top;
  if (sx < r.left || sx >= r.right || sy < r.top || sy >= r.bottom) return std::nullopt;
  if (sx < 0 || sy < 0 || sx >= source.width || sy >= source.height) return std::nullopt;
  return At(source, int(sx), int(sy));
}

void ExpectFastCopy(int x, int y, Rect r) {
  const Surface source = Numbered(20, 12);
  Surface target = Canvas(16, 10);
  BltFast(target, x, y, source, r);
  for (int ty = 0; ty < target.height; ++ty)
    for (int tx = 0; tx < target.width; ++tx) {
      const auto expected = ExpectedFast(source, x, y, r, tx, ty);
      ASSERT_EQ(At(target, tx, ty), expected.value_or(kUntouched))
          << "pixel (" << tx << ", " << ty << ") after a copy of (" << r.left << ", " << r.top << ", "
          << r.right << ", " << r.bottom << ") to (" << x << ", " << y << ")";
    }
}

TEST(SurfaceBltFast, ClampsRectanglesPartlyOutsideEitherPicture) {
  // Target points and source rectangles around every edge of both pictures.
  const int points[] = {-25, -7, -1, 0, 5, 15, 16, 30};
  const Rect rects[] = {
      {0, 0, 20, 12}, {-4, -3, 6, 5}, {15, 8, 26, 15}, {-30, -30, 50, 50}, {18, 10, 20, 12}};
  for (int x : points)
    for (int y : points)
      for (const Rect& r : rects) ExpectFastCopy(x, y, r);
}

TEST(SurfaceBltFast, CopiesOpaqueAndKeepsTheColourKey) {
  Surface source = Numbered(4, 4);
  source.pixels[5] = 0;  // black, the key
  SetColorKey(source, 0);
  Surface target = Canvas(4, 4);
  BltFast(target, 0, 0, source, Rect{0, 0, 4, 4});
  EXPECT_EQ(target.pixels, source.pixels);
  EXPECT_TRUE(source.has_color_key);
  EXPECT_EQ(source.color_key, 0);
  EXPECT_FALSE(target.has_color_key);
}

TEST(SurfaceBlt, ClampsWithoutMovingTheMapping) {
  const Surface source = Numbered(320, 240);
  // Target rectangle hanging over the top-left: the visible part shows what the whole
  // rectangle would show there.
  Surface target = Canvas(640, 480);
  Blt(target, Rect{-10, -20, 630, 460}, source, Rect{0, 0, 320, 240});
  EXPECT_EQ(At(target, 0, 0), At(source, 5, 10));
  EXPECT_EQ(At(target, 629, 459), At(source, 319, 239));
  EXPECT_EQ(At(target, 630, 0), kUntouched);
  EXPECT_EQ(At(target, 0, 460), kUntouched);
  // A source rectangle hanging over the left of the source: the test below.
  // Source rectangle running past the bottom-right of the source.
  Surface over = Canvas(64, 64);
  Blt(over, Rect{0, 0, 64, 64}, source, Rect{300, 220, 332, 252});
  EXPECT_EQ(At(over, 0, 0), At(source, 300, 220));
  EXPECT_EQ(At(over, 39, 39), At(source, 319, 239));
  EXPECT_EQ(At(over, 40, 10), kUntouched);
  EXPECT_EQ(At(over, 10, 40), kUntouched);
}

TEST(SurfaceBlt, ExtremeRectanglesStayInside) {
  const Surface source = Numbered(32, 32);
  Surface target = Canvas(50, 50);
  // The whole integer range shown in a 50 x 50 picture: every sample must come from the source.
  Blt(target, Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, source, Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
  Blt(target, Rect{0, 0, 50, 50}, source, Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
  const std::set<uint16_t> shown(source.pixels.begin(), source.pixels.end());
  for (uint16_t p : target.pixels) ASSERT_TRUE(p == kUntouched || shown.count(p)) << p;
}

TEST(SurfaceDrawBox, OutlinesInForeAndFillsInFillColour) {
  Surface s = Canvas(10, 8);
  SetForeColor(s, 0xFF0000);
  SetFillColor(s, 0x0000FF);
  DrawBox(s, 2, 1, 7, 6);  // right and bottom exclusive: columns 2..6, rows 1..5
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x <= 6 && y >= 1 && y <= 5;
      const bool edge = inside && (x == 2 || x == 6 || y == 1 || y == 5);
      const uint16_t expected = edge ? 0xF800 : inside ? 0x001F : kUntouched;
      ASSERT_EQ(At(s, x, y), expected) << x << "," << y;
    }
}

TEST(SurfaceText, EveryTextKeepsItsOwnPictureWhileOthersComeAndGo) {
  const Font font = OpenFont(12);
  auto picture = [&](const std::string& text) {
    Surface s = MakeSurface(200, 20);
    SetForeColor(s, 0xFFFFFF);
    DrawText(s, font, 2, 2, text);
    return s.pixels;
  };
  const auto first = picture("320X240  fps  60.0");
  std::vector<std::vector<uint16_t>> others;
  for (int i = 0; i < 20; ++i) others.push_back(picture("320X240  fps  " + std::to_string(40 + i) + ".5"));
  EXPECT_EQ(picture("320X240  fps  60.0"), first);
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(picture("320X240  fps  " + std::to_string(40 + i) + ".5"), others[i]) << i;
  EXPECT_NE(others[0], others[1]);
  EXPECT_NE(first, others[0]);
}

TEST(SurfaceFont, NoFontAtAllIsAOneLineFatalError) {
  const std::string dir = MakeTempDir();
  const std::string conf = dir + "/fonts.conf";
  std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
  setenv("FONTCONFIG_FILE", conf.c_str(), 1);
  std::string message;
  try {
    OpenFont(12);
  } catch (const FatalError& e) {
    message = e.what();
  }
  unsetenv("FONTCONFIG_FILE");
  std::filesystem::remove_all(dir);
  EXPECT_EQ(message.rfind("font: DejaVu Sans: ", 0), 0u) << message;
  EXPECT_EQ(message.find('\n'), std::string::npos) << message;
}

TEST(SurfacePng, KeepsEvery16BitColourExactly) {
  Surface s = MakeSurface(256, 256);
  for (size_t i = 0; i < s.pixels.size(); ++i) s.pixels[i] = static_cast<uint16_t>(i);
  const std::string dir = MakeTempDir();
  SavePng(s, dir + "/all.png");
  const Surface back = LoadPng(dir + "/all.png");
  EXPECT_EQ(back.width, 256);
  EXPECT_EQ(back.height, 256);
  EXPECT_EQ(back.pixels, s.pixels);
  std::filesystem::remove_all(dir);
}

}  // namespace

}  // namespace brawl
