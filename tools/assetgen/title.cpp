#include "title.h"

#include <cmath>
#include <cstdint>

#include "figures.h"
#include "picture.h"

namespace brawl {

namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr int kHorizon = 158;
constexpr Rgb kPanel{26, 22, 64};
constexpr Rgb kSkyTop{16, 12, 46};
constexpr Rgb kSky{112, 112, 224};
// The cursor's 32 x 32 square stands at (75, 107) for the first entry, 32 pixels lower
// for the second.
constexpr int kCursorX = 75, kCursorY = 107, kCursorSize = 32;

// Small fixed generator so the stars land in the same places on every run.
uint32_t NextRandom(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

Rgb FloorColour(double x, double y) {
  // Eight samples per pixel keep the tiles from shimmering toward the horizon.
  const double eye = 40.0, tile = 6.0;
  int light = 0;
  double depth_sum = 0.0;
  constexpr int kSamples = 8;
  for (int s = 0; s < kSamples; ++s) {
    const double sx = x + (s % 4 + 0.5) / 4.0, sy = y + (s / 4 + 0.5) / 2.0;
    const double depth = eye * 20.0 / (sy - kHorizon);
    const double wx = (sx - kWidth / 2.0) * depth / 160.0;
    depth_sum += depth;
    const int parity =
        (static_cast<int>(std::floor(wx / tile)) + static_cast<int>(std::floor(depth / tile))) & 1;
    light += parity;
  }
  const Rgb tile_colour = Mix(Rgb{104, 104, 112}, Rgb{150, 150, 158}, light / double(kSamples));
  const double fog = std::clamp((depth_sum / kSamples - 20.0) / 140.0, 0.0, 1.0);
  return Mix(tile_colour, kSky, fog);
}

void DrawBackground(Picture& picture) {
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      Put(picture, x, y,
          y < kHorizon ? Mix(kSkyTop, kSky, std::pow(y / double(kHorizon), 1.4)) : FloorColour(x, y));
  uint32_t state = 20261206u;
  for (int i = 0; i < 60; ++i) {
    const int x = static_cast<int>(NextRandom(state) % kWidth);
    const int y = static_cast<int>(NextRandom(state) % 110);
    const double brightness = 0.35 + (NextRandom(state) % 100) / 160.0;
    Blend(picture, x, y, Rgb{255, 255, 240}, brightness * (1.0 - y / 130.0));
  }
}

void DrawMenu(Picture& picture, const Typeface& face) {
  Fill(picture, RoundBox(68, 101, 252, 177, 7), Rgb{150, 150, 232});
  Fill(picture, RoundBox(70, 103, 250, 175, 6), kPanel);
  TextStyle entry;
  entry.top = Rgb{255, 255, 255};
  entry.bottom = Rgb{190, 230, 255};
  entry.shadow = Rgb{8, 6, 24};
  entry.shadow_offset = 1;
  DrawTextLeft(picture, face, 19, "1P vs COM", kCursorX + kCursorSize + 6, kCursorY + kCursorSize / 2.0,
               entry);
  DrawTextLeft(picture, face, 19, "1P vs 2P", kCursorX + kCursorSize + 6, kCursorY + kCursorSize * 1.5,
               entry);
}

void DrawHelp(Picture& picture, const Typeface& face) {
  Fill(picture, Box(0, 196, kWidth, kHeight), Rgb{20, 18, 44});
  Fill(picture, Box(0, 196, kWidth, 197), Rgb{150, 150, 232});
  TextStyle help;
  help.top = help.bottom = Rgb{255, 236, 150};
  DrawTextCentred(picture, face, 11, "\u2191 \u2193 choose     Enter start     Esc quit", kWidth / 2.0, 205,
                  help);
  help.top = help.bottom = Rgb{170, 226, 255};
  DrawTextCentred(picture, face, 10, "1P  \u2190\u2191\u2192\u2193 move   Num1 Num2 turn   Num3 fire",
                  kWidth / 2.0, 219, help);
  help.top = help.bottom = Rgb{255, 184, 150};
  DrawTextCentred(picture, face, 10, "2P  Z S C X move   B N turn   M fire", kWidth / 2.0, 232, help);
}

Picture Title(const Typeface& face) {
  Picture picture = MakePicture(kWidth, kHeight);
  DrawBackground(picture);
  TextStyle name;
  name.top = Rgb{255, 244, 150};
  name.bottom = Rgb{242, 128, 28};
  name.outline = Rgb{44, 14, 40};
  name.outline_width = 2;
  name.shadow = Rgb{8, 6, 26};
  name.shadow_offset = 3;
  int size = 40;
  while (size > 12 && TextWidth(face, size, "Billboard Brawl") > 296) --size;
  DrawTextCentred(picture, face, size, "Billboard Brawl", kWidth / 2.0, 36, name);
  TextStyle tagline;
  tagline.top = tagline.bottom = Rgb{196, 196, 255};
  tagline.shadow = Rgb{8, 6, 26};
  tagline.shadow_offset = 1;
  DrawTextCentred(picture, face, 11, "ONE ARENA  \u2022  TWO FIGHTERS  \u2022  NO MERCY", kWidth / 2.0, 72,
                  tagline);
  for (const double cx : {35.0, 285.0})
    for (int y = 162; y < 176; ++y)
      for (int x = static_cast<int>(cx) - 28; x < static_cast<int>(cx) + 28; ++x)
        if (Ellipse(cx, 169, 26, 4.5)(x + 0.5, y + 0.5)) Blend(picture, x, y, Rgb{24, 20, 48}, 0.55);
  DrawFighter(picture, 0, 3, 108, 1.0, false);
  DrawFighter(picture, 1, 253, 108, 1.0, true);
  DrawMenu(picture, face);
  DrawHelp(picture, face);
  return picture;
}

Picture Cursor() {
  Picture picture = MakePicture(kCursorSize, kCursorSize);
  Fill(picture, Box(0, 0, kCursorSize, kCursorSize), kPanel);
  PaintPart(picture, Polygon({{8, 6}, {27, 16}, {8, 26}}), Rgb{255, 208, 56}, Rgb{255, 250, 210});
  PaintPart(picture, Polygon({{11, 11.5}, {19, 16}, {11, 20.5}}), Rgb{255, 132, 24}, Rgb{255, 176, 40});
  return picture;
}

}  // namespace

void WriteTitle(const std::string& folder, const Typeface& face) {
  SavePicture(Title(face), folder + "/title.bmp");
  SavePicture(Cursor(), folder + "/Cursor.bmp");
}

}  // namespace brawl
