#include "hud.h"

#include <algorithm>

#include "picture.h"

namespace brawl {

namespace {

// The bar is cut from the right as life drains, so its colour runs from red at the left
// (what is left near the end) to green at the right (full health).
Picture LifeBar() {
  constexpr int kWidth = 128, kHeight = 6;
  Picture picture = MakePicture(kWidth, kHeight);
  const Rgb red{226, 36, 30}, yellow{250, 214, 40}, green{64, 220, 72};
  const double row_light[kHeight] = {1.45, 1.12, 1.0, 0.92, 0.78, 0.58};
  for (int x = 0; x < kWidth; ++x) {
    const double t = x / double(kWidth - 1);
    Rgb colour = t < 0.5 ? Mix(red, yellow, t / 0.5) : Mix(yellow, green, (t - 0.5) / 0.5);
    if (x % 16 == 15) colour = Scale(colour, 0.72);
    for (int y = 0; y < kHeight; ++y) {
      const Rgb c = row_light[y] > 1.0 ? Mix(colour, Rgb{255, 255, 255}, row_light[y] - 1.0)
                                       : Scale(colour, row_light[y]);
      Put(picture, x, y, KeepVisible(c));
    }
  }
  return picture;
}

struct BannerColours {
  Rgb plate_top, plate_bottom, border, text_top, text_bottom;
};

Picture Banner(const Typeface& face, const std::string& text, const BannerColours& colours) {
  constexpr int kWidth = 240, kHeight = 64;
  Picture picture = MakePicture(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      Put(picture, x, y, Mix(colours.plate_top, colours.plate_bottom, y / 63.0));
  const Rgb dark{12, 8, 26};
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int edge = std::min(std::min(x, y), std::min(kWidth - 1 - x, kHeight - 1 - y));
      if (edge == 0) Put(picture, x, y, dark);
      if (edge == 1 || edge == 2) Put(picture, x, y, colours.border);
      if (edge == 3) Put(picture, x, y, dark);
      if (edge == 5) Put(picture, x, y, Mix(colours.plate_top, colours.border, 0.45));
    }
  }
  // A row of small diamonds on each side frames the words.
  for (const double cx : {18.0, 222.0})
    for (const double cy : {20.0, 32.0, 44.0})
      PaintPart(picture, Polygon({{cx, cy - 4}, {cx + 4, cy}, {cx, cy + 4}, {cx - 4, cy}}), colours.border,
                dark);
  TextStyle style;
  style.top = colours.text_top;
  style.bottom = colours.text_bottom;
  style.outline = dark;
  style.outline_width = 2;
  style.shadow = Rgb{6, 4, 14};
  style.shadow_offset = 2;
  int size = 44;
  while (size > 12 && TextWidth(face, size, text) > 176) --size;
  DrawTextCentred(picture, face, size, text, kWidth / 2.0, kHeight / 2.0, style);
  for (Rgb& p : picture.pixels) p = KeepVisible(p);
  return picture;
}

}  // namespace

void WriteHud(const std::string& folder, const Typeface& face) {
  SavePicture(LifeBar(), folder + "/lifebar.bmp");
  SavePicture(
      Banner(face, "1P WINS!",
             {Rgb{30, 64, 150}, Rgb{12, 22, 70}, Rgb{80, 210, 250}, Rgb{255, 255, 255}, Rgb{150, 236, 255}}),
      folder + "/1pwin.bmp");
  SavePicture(
      Banner(face, "2P WINS!",
             {Rgb{150, 34, 28}, Rgb{66, 12, 16}, Rgb{255, 150, 40}, Rgb{255, 255, 230}, Rgb{255, 206, 70}}),
      folder + "/2pwin.bmp");
}

}  // namespace brawl
