#include "platform/gtk/gtk_icon.h"

#include <cmath>
#include <cstdint>

namespace brawl {

namespace {

constexpr int kSize = 32;

struct Rgba {
  uint8_t r, g, b, a;
};

constexpr Rgba kClear{0, 0, 0, 0};
constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kRed{0xC0, 0, 0, 255};
constexpr Rgba kWhite{0xFF, 0xFF, 0xFF, 255};
constexpr Rgba kYellow{0xFF, 0xFF, 0, 255};

Rgba TargetPixel(int x, int y) {
  const double dx = x + 0.5 - kSize / 2.0;
  const double dy = y + 0.5 - kSize / 2.0;
  const double d = std::sqrt(dx * dx + dy * dy);
  if (d > 15.5) return kClear;
  if (d > 14.5) return kBlack;
  // Cross hairs over the rings, with a yellow bull's-eye.
  if (std::fabs(dx) < 1.0 || std::fabs(dy) < 1.0) return d < 3.0 ? kYellow : kBlack;
  if (d < 3.0) return kYellow;
  return static_cast<int>(d / 3.0) % 2 == 0 ? kWhite : kRed;
}

}  // namespace

ObjectHandle<GdkPixbuf> MakeWindowIcon() {
  ObjectHandle<GdkPixbuf> icon(gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, kSize, kSize));
  if (!icon) return icon;
  const int stride = gdk_pixbuf_get_rowstride(icon.get());
  guchar* pixels = gdk_pixbuf_get_pixels(icon.get());
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const Rgba c = TargetPixel(x, y);
      guchar* p = pixels + y * stride + x * 4;
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
      p[3] = c.a;
    }
  }
  return icon;
}

}  // namespace brawl
