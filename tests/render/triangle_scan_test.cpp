#include "render/triangle_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace brawl {

namespace {

// How many times each pixel of a w x h grid is covered.
struct Coverage {
  int width, height;
  std::vector<int> count;

  Coverage(int w, int h) : width(w), height(h), count(static_cast<size_t>(w * h), 0) {}

  void Add(ScreenVertex a, ScreenVertex b, ScreenVertex c) {
    ScanTriangle(a, b, c, PixelRect{0, 0, width, height}, [&](int y, int x0, int x1, float, float) {
      for (int x = x0; x < x1; ++x) ++count[static_cast<size_t>(y * width + x)];
    });
  }

  int At(int x, int y) const { return count[static_cast<size_t>(y * width + x)]; }
};

ScreenVertex V(float x, float y) {
  return {x, y, 1.0f};
}

TEST(TriangleScan, AFanAroundAPointCoversItsHullOnce) {
  // Random fans share every inner edge with a neighbour in both directions.
  std::mt19937 random(7);
  std::uniform_real_distribution<float> jitter(-0.49f, 0.49f);
  for (int round = 0; round < 20; ++round) {
    Coverage cover(64, 64);
    const ScreenVertex centre = V(32.0f + jitter(random), 32.0f + jitter(random));
    std::vector<ScreenVertex> ring;
    for (int i = 0; i < 12; ++i) {
      const double angle = i * 2 * 3.14159265358979 / 12;
      ring.push_back(V(static_cast<float>(32 + 25 * std::cos(angle)) + jitter(random),
                       static_cast<float>(32 + 25 * std::sin(angle)) + jitter(random)));
    }
    for (size_t i = 0; i < ring.size(); ++i) cover.Add(centre, ring[i], ring[(i + 1) % ring.size()]);
    int max = 0;
    for (int c : cover.count) max = std::max(max, c);
    EXPECT_EQ(max, 1) << "round " << round;
    // The centre region is surely covered, so a fan with a hole would show here.
    for (int y = 25; y < 39; ++y)
      for (int x = 25; x < 39; ++x) ASSERT_EQ(cover.At(x, y), 1) << x << "," << y << " round " << round;
  }
}

TEST(TriangleScan, StaysInsideTheClipRectangleAndSurvivesHugeOrBrokenVertices) {
  std::vector<int> rows;
  const PixelRect clip{10, 20, 30, 40};
  ScanTriangle(V(-1e30f, -1e30f), V(1e30f, -1e29f), V(0, 1e30f), clip,
               [&](int y, int x0, int x1, float, float) {
                 EXPECT_GE(x0, 10);
                 EXPECT_LE(x1, 30);
                 EXPECT_GE(y, 20);
                 EXPECT_LT(y, 40);
                 rows.push_back(y);
               });
  EXPECT_EQ(rows.size(), 20u);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  int spans = 0;
  ScanTriangle(V(nan, 0), V(5, 5), V(0, 5), clip, [&](int, int, int, float, float) { ++spans; });
  ScanTriangle(V(0, 0), V(5, 5), V(10, 10), PixelRect{0, 0, 20, 20},
               [&](int, int, int, float, float) { ++spans; });  // no area
  EXPECT_EQ(spans, 0);
}

}  // namespace

}  // namespace brawl
