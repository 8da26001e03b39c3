#include "gfx/surface.h"

#include <algorithm>
#include <utility>

namespace brawl {

Surface MakeSurface(int width, int height) {
  Surface surface;
  surface.width = std::max(width, 0);
  surface.height = std::max(height, 0);
  surface.pixels.assign(static_cast<size_t>(surface.width) * static_cast<size_t>(surface.height), 0);
  return surface;
}

void SetColorKey(Surface& surface, uint16_t key) {
  surface.has_color_key = true;
  surface.color_key = key;
}

// Colours arrive as the game's 32-bit values; only the low 24 bits are a colour, so -1 is white.
void SetForeColor(Surface& surface, int32_t color) {
  surface.fore_color = static_cast<uint32_t>(color);
}

void SetFillColor(Surface& surface, int32_t color) {
  surface.fill_color = static_cast<uint32_t>(color);
}

void DrawBox(Surface& target, int x1, int y1, int x2, int y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const int left = std::max(x1, 0), right = std::min(x2, target.width);
  const int top = std::max(y1, 0), bottom = std::min(y2, target.height);
  if (left >= right || top >= bottom) return;
  const uint16_t outline = Rgb565(target.fore_color);
  const uint16_t fill = Rgb565(target.fill_color);
  for (int y = top; y < bottom; ++y) {
    uint16_t* row = target.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(target.width);
    if (y == y1 || y == y2 - 1) {
      std::fill(row + left, row + right, outline);
      continue;
    }
    std::fill(row + left, row + right, fill);
    if (x1 >= 0) row[x1] = outline;
    if (x2 - 1 < target.width) row[x2 - 1] = outline;
  }
}

}  // namespace brawl
