#pragma once
#include <cstdint>

#include "gfx/surface.h"
#include "render/triangle_scan.h"

namespace brawl {

// Where triangles are drawn: the back buffer's pixels with a depth value (1/z, larger is
// nearer) for each, and the rectangle that may be drawn in.
struct RasterTarget {
  float* depth = nullptr;
  uint16_t* pixels = nullptr;
  int stride = 0;  // pixels from one row to the next, of both
  PixelRect rect;
};

// Fills `count` values from `row` on.
void FillRow(uint16_t* row, int count, uint16_t value);
void FillRow(float* row, int count, float value);

// A triangle in one colour, depth-tested: every pixel nearer than what it covers is drawn.
void FillTriangle(const RasterTarget& target, const ScreenVertex& a, const ScreenVertex& b,
                  const ScreenVertex& c, uint16_t color);
// The same with the texture its corners' u and v pick, perspective-correct, wrapping.
void TextureTriangle(const RasterTarget& target, const ScreenVertex& a, const ScreenVertex& b,
                     const ScreenVertex& c, const Surface& texture);

}  // namespace brawl
