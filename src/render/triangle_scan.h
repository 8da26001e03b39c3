#pragma once
#include <algorithm>
#include <cmath>
#include <utility>

namespace brawl {

// A vertex on the screen: pixel coordinates (pixel centres at .5) and 1/z, with the
// texture coordinates it carries (the scan itself ignores them).
struct ScreenVertex {
  float x = 0, y = 0, iz = 0;
  float u = 0, v = 0;
};

// Pixel bounds, right and bottom exclusive.
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

namespace scan_detail {

// An edge from its upper end down. Two triangles sharing the edge work its x out from
// the same end with the same slope, so they get the same x to the bit and meet without
// gap or overlap.
struct Edge {
  float x, y, slope;

  Edge(const ScreenVertex& top, const ScreenVertex& bottom)
      : x(top.x), y(top.y), slope((bottom.x - top.x) / (bottom.y - top.y)) {}

  float At(float yc) const { return x + (yc - y) * slope; }
};

// ceil(v) held within [lo, hi]; a value that is not a number counts as lo.
inline int CeilWithin(float v, int lo, int hi) {
  if (!(v > static_cast<float>(lo))) return lo;
  if (!(v < static_cast<float>(hi))) return hi;
  const int truncated = static_cast<int>(v);  // toward zero: already the ceiling below zero
  return truncated + (v > static_cast<float>(truncated));
}

}  // namespace scan_detail

// Calls span(y, x_begin, x_end, iz_at_x_begin, iz_step) for every row of pixels whose
// centres the triangle covers, inside `clip`. A centre on a left or top edge is covered,
// one on a right or bottom edge is not.
template <class Span>
void ScanTriangle(ScreenVertex a, ScreenVertex b, ScreenVertex c, const PixelRect& clip, Span&& span) {
  if (b.y < a.y) std::swap(a, b);
  if (c.y < b.y) std::swap(b, c);
  if (b.y < a.y) std::swap(a, b);
  const int y_begin = scan_detail::CeilWithin(a.y - 0.5f, clip.top, clip.bottom);
  const int y_end = scan_detail::CeilWithin(c.y - 0.5f, clip.top, clip.bottom);
  if (y_begin >= y_end) return;
  // Wholly beside the clip rectangle: no row would have a pixel.
  const float x_min = std::min(a.x, std::min(b.x, c.x)), x_max = std::max(a.x, std::max(b.x, c.x));
  if (!(x_max + 0.5f > static_cast<float>(clip.left) && x_min - 0.5f < static_cast<float>(clip.right)))
    return;

  // 1/z is a plane over the screen.
  const double e1x = double(b.x) - a.x, e1y = double(b.y) - a.y, e1z = double(b.iz) - a.iz;
  const double e2x = double(c.x) - a.x, e2y = double(c.y) - a.y, e2z = double(c.iz) - a.iz;
  const double area = e1x * e2y - e2x * e1y;
  if (!(area != 0) || !std::isfinite(area)) return;
  const double dzdx = (e1z * e2y - e2z * e1y) / area;
  const double dzdy = (e2z * e1x - e1z * e2x) / area;
  const float step = static_cast<float>(dzdx);

  // A horizontal edge gets an infinite slope but is never asked for an x.
  const scan_detail::Edge long_edge(a, c), upper(a, b), lower(b, c);
  for (int y = y_begin; y < y_end; ++y) {
    const float yc = static_cast<float>(y) + 0.5f;
    const float x_long = long_edge.At(yc);
    const float x_short = yc < b.y ? upper.At(yc) : lower.At(yc);
    const float left = std::min(x_long, x_short), right = std::max(x_long, x_short);
    const int x_begin = scan_detail::CeilWithin(left - 0.5f, clip.left, clip.right);
    const int x_end = scan_detail::CeilWithin(right - 0.5f, clip.left, clip.right);
    if (x_begin >= x_end) continue;
    const double iz = a.iz + (x_begin + 0.5 - a.x) * dzdx + (yc - double(a.y)) * dzdy;
    span(y, x_begin, x_end, static_cast<float>(iz), step);
  }
}

// A value that is linear over the screen, through three vertices.
struct ScreenPlane {
  double x0 = 0, y0 = 0, at = 0, dx = 0, dy = 0;

  double At(double x, double y) const { return at + (x - x0) * dx + (y - y0) * dy; }
};

inline ScreenPlane PlaneThrough(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                                double va, double vb, double vc) {
  const double e1x = double(b.x) - a.x, e1y = double(b.y) - a.y, e1 = vb - va;
  const double e2x = double(c.x) - a.x, e2y = double(c.y) - a.y, e2 = vc - va;
  const double area = e1x * e2y - e2x * e1y;
  ScreenPlane p{a.x, a.y, va, 0, 0};
  if (!(area != 0)) return p;
  p.dx = (e1 * e2y - e2 * e1y) / area;
  p.dy = (e2 * e1x - e1 * e2x) / area;
  return p;
}
}  // namespace brawl
