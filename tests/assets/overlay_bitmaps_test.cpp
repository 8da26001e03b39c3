#include <gtest/gtest.h>

#include "data_files.h"
#include "platform/surface.h"

namespace brawl {

namespace {

uint16_t PixelAt(const Surface& s, int x, int y) {
  return s.pixels[static_cast<size_t>(y) * s.width + x];
}

int Brightness(uint16_t pixel) {
  const Rgb8 c = Channels(pixel);
  return c.r + c.g + c.b;
}

TEST(OverlayBitmaps, AreAtLeastAsLargeAsTheRectanglesCopiedFromThem) {
  const Surface title = LoadBitmap(DataFile("title.bmp"));
  EXPECT_EQ(title.width, 320);
  EXPECT_EQ(title.height, 240);
  const Surface cursor = LoadBitmap(DataFile("Cursor.bmp"));
  EXPECT_EQ(cursor.width, 32);
  EXPECT_EQ(cursor.height, 32);
  const Surface bar = LoadBitmap(DataFile("lifebar.bmp"));
  EXPECT_GE(bar.width, 128);
  EXPECT_GE(bar.height, 6);
  for (const char* name : {"1pwin.bmp", "2pwin.bmp"}) {
    const Surface banner = LoadBitmap(DataFile(name));
    EXPECT_EQ(banner.width, 240) << name;
    EXPECT_EQ(banner.height, 64) << name;
  }
}

// The cursor is copied opaque onto the title, so where it stands, and where it stood a
// moment ago, the title must show the cursor's own background: no box, no trace.
TEST(OverlayBitmaps, CursorSitsOnAPlainPanelOfItsOwnBackground) {
  const Surface title = LoadBitmap(DataFile("title.bmp"));
  const Surface cursor = LoadBitmap(DataFile("Cursor.bmp"));
  const uint16_t background = PixelAt(cursor, 0, 0);
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(PixelAt(cursor, i, 0), background);
    EXPECT_EQ(PixelAt(cursor, i, 31), background);
    EXPECT_EQ(PixelAt(cursor, 0, i), background);
    EXPECT_EQ(PixelAt(cursor, 31, i), background);
  }
  int mismatches = 0;
  for (const int top : {107, 139})
    for (int y = top; y < top + 32; ++y)
      for (int x = 75; x < 107; ++x) mismatches += PixelAt(title, x, y) != background ? 1 : 0;
  EXPECT_EQ(mismatches, 0);
  int arrow = 0;
  for (uint16_t p : cursor.pixels) arrow += Brightness(p) > 400 ? 1 : 0;
  EXPECT_GT(arrow, 60) << "the cursor shows no bright pointer";
}

// Each menu row holds its entry's lettering right of the cursor.
TEST(OverlayBitmaps, TitleHasAnEntryOnEachMenuRow) {
  const Surface title = LoadBitmap(DataFile("title.bmp"));
  for (const int top : {107, 139}) {
    int bright = 0;
    for (int y = top; y < top + 32; ++y)
      for (int x = 107; x < 250; ++x) bright += Brightness(PixelAt(title, x, y)) > 600 ? 1 : 0;
    EXPECT_GT(bright, 150) << "row at " << top;
  }
}

TEST(OverlayBitmaps, LifeBarIsSolidAndRunsFromRedToGreen) {
  const Surface bar = LoadBitmap(DataFile("lifebar.bmp"));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 128; ++x) ASSERT_NE(PixelAt(bar, x, y), 0) << x << "," << y;
  const Rgb8 left = Channels(PixelAt(bar, 2, 2)), right = Channels(PixelAt(bar, 125, 2));
  EXPECT_GT(left.r, left.g + 100);
  EXPECT_GT(right.g, right.r + 100);
}

// Banners are copied opaque over the last match picture: they are full plates, player
// 1's cool and player 2's warm.
TEST(OverlayBitmaps, WinBannersArePlatesInTheWinnersColours) {
  long balance[2] = {0, 0};
  const char* names[] = {"1pwin.bmp", "2pwin.bmp"};
  for (int i = 0; i < 2; ++i) {
    const Surface banner = LoadBitmap(DataFile(names[i]));
    int black = 0;
    for (uint16_t p : banner.pixels) {
      black += p == 0 ? 1 : 0;
      const Rgb8 c = Channels(p);
      balance[i] += c.b - c.r;
    }
    EXPECT_EQ(black, 0) << names[i];
  }
  EXPECT_GT(balance[0], 0);
  EXPECT_LT(balance[1], 0);
}

}  // namespace

}  // namespace brawl
