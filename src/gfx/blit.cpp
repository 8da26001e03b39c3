#include <algorithm>
#include <cstring>

#include "gfx/surface.h"

namespace brawl {

// Rectangles are clamped here, never trusted: a copy must neither read nor write outside
// either picture, whatever the caller asks for. Work in 64 bits so that no sum overflows.
namespace {

struct Span {
  int64_t begin, end;  // end exclusive
};

uint16_t* Row(Surface& s, int64_t y) {
  return s.pixels.data() + y * s.width;
}
const uint16_t* Row(const Surface& s, int64_t y) {
  return s.pixels.data() + y * s.width;
}

// Nearest sample of target pixel t of a span of target_len pixels that shows source_len
// pixels: the source pixel under the target pixel's centre, stepped without division.
struct Stepper {
  int64_t quotient, remainder, step_q, step_r, denominator;
  Stepper(int64_t t, int64_t source_len, int64_t target_len) : denominator(2 * target_len) {
    // t and source_len may each reach 2^32: the product needs more than 64 bits.
    const __int128 numerator = static_cast<__int128>(2 * t + 1) * source_len;
    quotient = static_cast<int64_t>(numerator / denominator);
    remainder = static_cast<int64_t>(numerator % denominator);
    step_q = (2 * source_len) / denominator;
    step_r = (2 * source_len) % denominator;
  }
  void Next() {
    quotient += step_q;
    remainder += step_r;
    if (remainder >= denominator) {
      ++quotient;
      remainder -= denominator;
    }
  }
};

}  // namespace

void BltFast(Surface& target, int x, int y, const Surface& source, Rect source_rect) {
  int64_t sl = source_rect.left, st = source_rect.top, sr = source_rect.right, sb = source_rect.bottom;
  int64_t dx = x, dy = y;
  if (sr <= sl || sb <= st) return;
  // Clamp to the source; the target point moves with the cut edge.
  if (sl < 0) dx -= sl, sl = 0;
  if (st < 0) dy -= st, st = 0;
  sr = std::min<int64_t>(sr, source.width);
  sb = std::min<int64_t>(sb, source.height);
  // Clamp to the target.
  if (dx < 0) sl -= dx, dx = 0;
  if (dy < 0) st -= dy, dy = 0;
  sr = std::min(sr, sl + (target.width - dx));
  sb = std::min(sb, st + (target.height - dy));
  if (sr <= sl || sb <= st) return;
  const size_t bytes = static_cast<size_t>(sr - sl) * sizeof(uint16_t);
  const int64_t rows = sb - st;
  // A copy within one picture downwards must start from the bottom row.
  const bool bottom_up = &target == &source && dy > st;
  for (int64_t i = 0; i < rows; ++i) {
    const int64_t row = bottom_up ? rows - 1 - i : i;
    std::memmove(Row(target, dy + row) + dx, Row(source, st + row) + sl, bytes);
  }
}

void Blt(Surface& target, Rect target_rect, const Surface& source, Rect source_rect) {
  const int64_t dl = target_rect.left, dt = target_rect.top;
  const int64_t dw = int64_t{target_rect.right} - dl, dh = int64_t{target_rect.bottom} - dt;
  const int64_t sl = source_rect.left, st = source_rect.top;
  const int64_t sw = int64_t{source_rect.right} - sl, sh = int64_t{source_rect.bottom} - st;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  // The mapping is that of the whole rectangles; only the pixels that land inside the
  // target and sample inside the source are copied.
  const Span xs{std::max<int64_t>(dl, 0), std::min<int64_t>(dl + dw, target.width)};
  const Span ys{std::max<int64_t>(dt, 0), std::min<int64_t>(dt + dh, target.height)};
  if (xs.end <= xs.begin || ys.end <= ys.begin) return;
  Stepper row_step(ys.begin - dt, sh, dh);
  int64_t last_sy = -1;
  Span written{0, 0};  // the columns the last source row reached
  for (int64_t ty = ys.begin; ty < ys.end; ++ty, row_step.Next()) {
    const int64_t sy = st + row_step.quotient;
    if (sy < 0) continue;
    if (sy >= source.height) break;
    uint16_t* to = Row(target, ty);
    // A source row shown again (any enlargement) is the target row above it once more.
    if (sy == last_sy && &target != &source) {
      std::memcpy(to + written.begin, to - target.width + written.begin,
                  static_cast<size_t>(written.end - written.begin) * sizeof(uint16_t));
      continue;
    }
    last_sy = sy;
    written = Span{0, 0};
    const uint16_t* from = Row(source, sy);
    Stepper col_step(xs.begin - dl, sw, dw);
    for (int64_t tx = xs.begin; tx < xs.end; ++tx, col_step.Next()) {
      const int64_t sx = sl + col_step.quotient;
      if (sx < 0) continue;
      if (sx >= source.width) break;
      if (written.end == 0) written.begin = tx;
      to[tx] = from[sx];
      written.end = tx + 1;
    }
  }
}

}  // namespace brawl
