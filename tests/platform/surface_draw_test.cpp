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

#include "platform/fatal_error.h"
#include "platform/surface.h"
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

TEST(SurfaceBltFast, RectanglesWhollyOutsideOrEmptyDrawNothing) {
  const Rect nothing[] = {{20, 0, 30, 12},
                          {0, 12, 20, 20},
                          {-10, -10, 0, 0},
                          {5, 5, 5, 9},
                          {5, 5, 9, 5},
                          {9, 5, 5, 9},
                          {5, 9, 9, 5},
                          {INT_MIN, INT_MIN, INT_MIN, 0},
                          {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                          {INT_MAX - 1, 0, INT_MAX, 1}};
  const Surface source = Numbered(20, 12);
  for (const Rect& r : nothing) {
    Surface target = Canvas(16, 10);
    BltFast(target, 0, 0, source, r);
    EXPECT_EQ(target.pixels, Canvas(16, 10).pixels)
        << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
  const int far_points[] = {INT_MIN, -20, 16, INT_MAX};
  for (int p : far_points) {
    Surface target = Canvas(16, 10);
    BltFast(target, p, 0, source, Rect{0, 0, 20, 12});
    BltFast(target, 0, p, source, Rect{0, 0, 20, 12});
    EXPECT_EQ(target.pixels, Canvas(16, 10).pixels) << p;
  }
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

TEST(SurfaceBlt, OneToOneEqualsBltFast) {
  const Surface source = Numbered(20, 12);
  Surface stretched = Canvas(16, 10), fast = Canvas(16, 10);
  Blt(stretched, Rect{-3, 2, 8, 9}, source, Rect{4, 1, 15, 8});
  BltFast(fast, -3, 2, source, Rect{4, 1, 15, 8});
  EXPECT_EQ(stretched.pixels, fast.pixels);
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

TEST(SurfaceBlt, EnlargingLeavesEveryRowsUncoveredPixelsAlone) {
  const Surface source = Numbered(320, 240);
  // A background that differs from row to row, unlike any source pixel.
  Surface target = MakeSurface(640, 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      target.pixels[static_cast<size_t>(y * 640 + x)] = uint16_t(0x8000 + y * 64 + x % 64);
  const Surface before = target;
  Blt(target, Rect{0, 0, 640, 480}, source, Rect{-16, 0, 304, 240});
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      ASSERT_EQ(At(target, x, y), x < 32 ? At(before, x, y) : At(source, (x - 32) / 2, y / 2))
          << x << "," << y;
}

TEST(SurfaceBlt, EmptyOrFarRectanglesDrawNothing) {
  const Surface source = Numbered(32, 32);
  const Rect cases[][2] = {
      {{0, 0, 0, 10}, {0, 0, 32, 32}},
      {{0, 0, 10, 0}, {0, 0, 32, 32}},
      {{10, 0, 0, 10}, {0, 0, 32, 32}},
      {{0, 0, 10, 10}, {0, 0, 0, 32}},
      {{0, 0, 10, 10}, {5, 5, 4, 9}},
      {{100, 0, 200, 50}, {0, 0, 32, 32}},
      {{0, 0, 50, 50}, {32, 0, 64, 32}},
      {{0, 0, 50, 50}, {-64, -64, -32, -32}},
      {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, INT_MIN + 5, INT_MIN + 5}},
      {{INT_MIN, 0, INT_MIN + 10, 10}, {0, 0, 32, 32}},
  };
  for (const auto& c : cases) {
    Surface target = Canvas(50, 50);
    Blt(target, c[0], source, c[1]);
    EXPECT_EQ(target.pixels, Canvas(50, 50).pixels)
        << c[0].left << "," << c[0].top << "," << c[0].right << "," << c[0].bottom << " from " << c[1].left
        << "," << c[1].top << "," << c[1].right << "," << c[1].bottom;
  }
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

TEST(SurfaceDrawBox, IsClampedToThePicture) {
  Surface s = Canvas(6, 6);
  SetForeColor(s, 0xFF0000);
  SetFillColor(s, 0x0000FF);
  DrawBox(s, -3, -3, 3, 3);  // outline at x = -3 and 2: only the right and bottom edges show
  EXPECT_EQ(At(s, 0, 0), 0x001F);
  EXPECT_EQ(At(s, 2, 0), 0xF800);
  EXPECT_EQ(At(s, 0, 2), 0xF800);
  EXPECT_EQ(At(s, 3, 3), kUntouched);
  Surface far = Canvas(6, 6);
  DrawBox(far, 10, 10, 20, 20);
  DrawBox(far, -20, -20, -10, -10);
  DrawBox(far, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN);
  DrawBox(far, 2, 2, 2, 5);  // no width
  EXPECT_EQ(far.pixels, Canvas(6, 6).pixels);
  Surface huge = Canvas(6, 6);
  SetFillColor(huge, 0x0000FF);
  DrawBox(huge, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  for (uint16_t p : huge.pixels) ASSERT_EQ(p, 0x001F);
}

size_t CountColour(const Surface& s, uint16_t colour) {
  size_t n = 0;
  for (uint16_t p : s.pixels) n += p == colour;
  return n;
}

class SurfaceText : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { font_ = new Font(OpenFont(12)); }
  static void TearDownTestSuite() {
    delete font_;
    font_ = nullptr;
  }
  static Font* font_;
};
Font* SurfaceText::font_ = nullptr;

TEST_F(SurfaceText, EveryTextKeepsItsOwnPictureWhileOthersComeAndGo) {
  auto picture = [&](const std::string& text) {
    Surface s = MakeSurface(200, 20);
    SetForeColor(s, 0xFFFFFF);
    DrawText(s, *font_, 2, 2, text);
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

TEST_F(SurfaceText, IsClippedAtEveryEdge) {
  Surface whole = MakeSurface(120, 30);
  SetForeColor(whole, 0xFFFFFF);
  DrawText(whole, *font_, 20, 10, "Wjg|Ay");
  // The same text moved so that it hangs over each edge shows the same pixels where visible.
  const int offsets[][2] = {{-35, -15}, {70, 5}, {-30, 20}, {10, -12}, {-500, 0}, {0, 500}};
  for (const auto& o : offsets) {
    Surface s = MakeSurface(120, 30);
    SetForeColor(s, 0xFFFFFF);
    DrawText(s, *font_, 20 + o[0], 10 + o[1], "Wjg|Ay");
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 120; ++x) {
        const int wx = x - o[0], wy = y - o[1];
        const bool seen = wx >= 0 && wx < 120 && wy >= 0 && wy < 30;
        ASSERT_EQ(s.pixels[size_t(y * 120 + x)], seen ? whole.pixels[size_t(wy * 120 + wx)] : 0)
            << "moved by " << o[0] << "," << o[1] << " at " << x << "," << y;
      }
  }
  Surface far = MakeSurface(120, 30);
  SetForeColor(far, 0xFFFFFF);
  for (int p : {INT32_MIN, INT32_MAX}) {
    DrawText(far, *font_, p, 0, "Wjg|Ay");
    DrawText(far, *font_, 0, p, "Wjg|Ay");
    DrawText(far, *font_, p, p, "Wjg|Ay");
  }
  EXPECT_EQ(CountColour(far, 0xFFFF), 0u);
  Surface same = whole;  // empty text draws nothing, not even its cell
  DrawText(same, *font_, 20, 10, "");
  EXPECT_EQ(same.pixels, whole.pixels);
}

TEST(SurfaceFont, NoFontAtAllIsAOneLineFatalError) {
  const std::string dir = MakeTempDir();
  const std::string conf = dir + "/fonts.conf";
  std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
  const char* old = std::getenv("FONTCONFIG_FILE");
  const std::string saved = old ? old : "";
  setenv("FONTCONFIG_FILE", conf.c_str(), 1);
  std::string message;
  try {
    OpenFont(12);
  } catch (const FatalError& e) {
    message = e.what();
  }
  if (old) {
    setenv("FONTCONFIG_FILE", saved.c_str(), 1);
  } else {
    unsetenv("FONTCONFIG_FILE");
  }
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

TEST(SurfacePng, NamesTheFileItCannotWrite) {
  const std::string path = MakeTempDir() + "/no/such/folder/shot.png";
  try {
    SavePng(MakeSurface(4, 4), path);
    FAIL() << "no error";
  } catch (const FatalError& e) {
    const std::string message = e.what();
    EXPECT_EQ(message.rfind("screenshot: " + path + ": ", 0), 0u) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
}

}  // namespace

}  // namespace brawl
