#pragma once
#include <cstdint>
#include <vector>

namespace brawl {

// A 16-bit RGB565 picture in plain memory: the back buffer and every 2-D bitmap.
struct Surface {
  int width = 0;
  int height = 0;
  std::vector<uint16_t> pixels;  // row-major, width * height
  bool has_color_key = false;    // source colour key, for keyed copies
  uint16_t color_key = 0;
  uint32_t fore_color = 0;  // text and outline colour, 0xRRGGBB in its low 24 bits
  uint32_t fill_color = 0;  // colour inside drawn boxes
};

// Left, top, right, bottom; right and bottom exclusive.
struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

constexpr uint16_t Rgb565(uint32_t rgb) {
  return static_cast<uint16_t>(((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x07E0) | ((rgb >> 3) & 0x001F));
}

Surface MakeSurface(int width, int height);
void SetColorKey(Surface& surface, uint16_t key);
void SetForeColor(Surface& surface, int32_t color);
void SetFillColor(Surface& surface, int32_t color);
// 1:1 copy; the source rectangle is clamped to the source and the copy to the target.
void BltFast(Surface& target, int x, int y, const Surface& source, Rect source_rect);
// Stretched copy, nearest sample, clamped like BltFast.
void Blt(Surface& target, Rect target_rect, const Surface& source, Rect source_rect);
// A box outlined in the fore colour and filled with the fill colour; right/bottom exclusive.
void DrawBox(Surface& target, int x1, int y1, int x2, int y2);

}  // namespace brawl
