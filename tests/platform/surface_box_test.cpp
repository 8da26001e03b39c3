#include <gtest/gtest.h>

#include "platform/surface.h"

namespace brawl {

namespace {

constexpr uint16_t kUntouched = 0x1234;

Surface Canvas(int width, int height) {
  Surface s = MakeSurface(width, height);
  s.pixels.assign(s.pixels.size(), kUntouched);
  return s;
}

uint16_t At(const Surface& s, int x, int y) {
  return s.pixels.at(static_cast<size_t>(y * s.width + x));
}

TEST(SurfaceColours, AreThe565OfTheLow24Bits) {
  EXPECT_EQ(Rgb565(0xFFFFFF), 0xFFFF);
  EXPECT_EQ(Rgb565(0xFF0000), 0xF800);
  EXPECT_EQ(Rgb565(0x00FF00), 0x07E0);
  EXPECT_EQ(Rgb565(0x0000FF), 0x001F);
  EXPECT_EQ(Rgb565(0x7070E0), (14 << 11) | (28 << 5) | 28);
  Surface s = Canvas(3, 3);
  SetForeColor(s, -1);
  SetFillColor(s, 0x00FF00);
  DrawBox(s, 0, 0, 3, 3);
  EXPECT_EQ(At(s, 0, 0), 0xFFFF);  // -1 outlines in white
  EXPECT_EQ(At(s, 1, 1), 0x07E0);
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

TEST(SurfaceDrawBox, CornersInEitherOrderGiveTheSameBox) {
  Surface a = Canvas(10, 10), b = Canvas(10, 10);
  for (Surface* s : {&a, &b}) {
    SetForeColor(*s, 0xFFFFFF);
    SetFillColor(*s, 0x808080);
  }
  DrawBox(a, 1, 2, 8, 9);
  DrawBox(b, 8, 9, 1, 2);
  EXPECT_EQ(a.pixels, b.pixels);
}

}  // namespace

}  // namespace brawl
