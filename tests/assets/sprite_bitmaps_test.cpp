#include <gtest/gtest.h>

#include <vector>

#include "data_files.h"
#include "platform/surface.h"

namespace brawl {

namespace {

// Pixels of value 0 that cannot be reached from the border through other 0 pixels: in a
// sprite they are holes, drawn pixels that came out black and so turn see-through.
int EnclosedBlack(const Surface& s) {
  std::vector<uint8_t> outside(s.pixels.size(), 0);
  std::vector<int> todo;
  auto visit = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= s.width || y >= s.height) return;
    const size_t i = static_cast<size_t>(y) * s.width + x;
    if (outside[i] || s.pixels[i] != 0) return;
    outside[i] = 1;
    todo.push_back(static_cast<int>(i));
  };
  for (int x = 0; x < s.width; ++x) visit(x, 0), visit(x, s.height - 1);
  for (int y = 0; y < s.height; ++y) visit(0, y), visit(s.width - 1, y);
  while (!todo.empty()) {
    const int i = todo.back();
    todo.pop_back();
    const int x = i % s.width, y = i / s.width;
    visit(x + 1, y), visit(x - 1, y), visit(x, y + 1), visit(x, y - 1);
  }
  int enclosed = 0;
  for (size_t i = 0; i < s.pixels.size(); ++i) enclosed += (s.pixels[i] == 0 && !outside[i]) ? 1 : 0;
  return enclosed;
}

double OpaqueShare(const Surface& s) {
  int opaque = 0;
  for (uint16_t p : s.pixels) opaque += p != 0 ? 1 : 0;
  return opaque / double(s.pixels.size());
}

// Mean colour of the drawn pixels.
Rgb8 MeanColour(const Surface& s) {
  long r = 0, g = 0, b = 0, n = 0;
  for (uint16_t p : s.pixels) {
    if (p == 0) continue;
    const Rgb8 c = Channels(p);
    r += c.r, g += c.g, b += c.b, ++n;
  }
  return {static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
}

uint16_t PixelAt(const Surface& s, int x, int y) {
  return s.pixels[static_cast<size_t>(y) * s.width + x];
}

TEST(SpriteBitmaps, AreSeeThroughAroundTheDrawingAndSolidInside) {
  for (const char* name : {"m001.bmp", "m002.bmp", "bullet01.bmp", "bullet02.bmp", "blood.bmp"}) {
    SCOPED_TRACE(name);
    const Surface s = LoadBitmap(DataFile(name));
    ASSERT_GE(s.width, 16);
    ASSERT_EQ(s.width, s.height);  // shown as a square decal
    EXPECT_EQ(PixelAt(s, 0, 0), 0);
    EXPECT_EQ(PixelAt(s, s.width - 1, 0), 0);
    EXPECT_EQ(PixelAt(s, 0, s.height - 1), 0);
    EXPECT_EQ(PixelAt(s, s.width - 1, s.height - 1), 0);
    EXPECT_NE(PixelAt(s, s.width / 2, s.height / 2), 0);
    EXPECT_EQ(EnclosedBlack(s), 0);
  }
}

TEST(SpriteBitmaps, FightersFillTheirSquareAndDifferInShapeAndColour) {
  const Surface cool = LoadBitmap(DataFile("m001.bmp"));
  const Surface warm = LoadBitmap(DataFile("m002.bmp"));
  ASSERT_EQ(cool.width, 64);
  ASSERT_EQ(warm.width, 64);
  for (const Surface* s : {&cool, &warm}) {
    EXPECT_GT(OpaqueShare(*s), 0.35);
    EXPECT_LT(OpaqueShare(*s), 0.85);
  }
  const Rgb8 c = MeanColour(cool), w = MeanColour(warm);
  EXPECT_GT(c.b, c.r + 30) << "player 1 should read as blue";
  EXPECT_GT(w.r, w.b + 60) << "player 2 should read as red";
  int different = 0;
  for (size_t i = 0; i < cool.pixels.size(); ++i) different += (cool.pixels[i] != 0) != (warm.pixels[i] != 0);
  EXPECT_GT(different, 64 * 64 / 10) << "the silhouettes are too alike";
}

TEST(SpriteBitmaps, FightersHaveADarkOutline) {
  for (const char* name : {"m001.bmp", "m002.bmp"}) {
    SCOPED_TRACE(name);
    const Surface s = LoadBitmap(DataFile(name));
    int edge = 0, dark = 0;
    for (int y = 0; y < s.height; ++y) {
      for (int x = 0; x < s.width; ++x) {
        if (PixelAt(s, x, y) == 0) continue;
        const bool touches = x == 0 || y == 0 || x == s.width - 1 || y == s.height - 1 ||
                             PixelAt(s, x - 1, y) == 0 || PixelAt(s, x + 1, y) == 0 ||
                             PixelAt(s, x, y - 1) == 0 || PixelAt(s, x, y + 1) == 0;
        if (!touches) continue;
        ++edge;
        const Rgb8 c = Channels(PixelAt(s, x, y));
        dark += (c.r + c.g + c.b < 150) ? 1 : 0;
      }
    }
    EXPECT_GT(dark, edge * 9 / 10);
  }
}

TEST(SpriteBitmaps, ShotsTakeTheirPlayersColoursAndBloodIsRed) {
  const Rgb8 p1 = MeanColour(LoadBitmap(DataFile("bullet01.bmp")));
  const Rgb8 p2 = MeanColour(LoadBitmap(DataFile("bullet02.bmp")));
  const Rgb8 blood = MeanColour(LoadBitmap(DataFile("blood.bmp")));
  EXPECT_GT(p1.b, p1.r + 60);
  EXPECT_GT(p2.r, p2.b + 60);
  EXPECT_GT(blood.r, 2 * blood.g);
  EXPECT_GT(blood.r, 2 * blood.b);
}

}  // namespace

}  // namespace brawl
