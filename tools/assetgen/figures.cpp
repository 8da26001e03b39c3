#include "figures.h"

namespace brawl {

namespace {

struct Painter {
  Picture& picture;
  double dx, dy, scale;
  bool mirror;
  void operator()(const Inside& shape, Rgb colour) const {
    PaintPart(picture, Place(shape, dx, dy, scale, mirror, kFighterSize), colour, kOutline);
  }
};

// Slim, tall and antennaed: white armour over cyan, navy legs, a blaster in the right hand.
void DrawCoolFighter(const Painter& paint) {
  const Rgb navy{30, 56, 128}, cyan{40, 186, 224}, white{226, 240, 250}, glow{150, 250, 255};
  const Rgb steel{118, 130, 158};
  paint(Stroke(38, 9, 45, 2.5, 1.0), Rgb{176, 186, 206});
  paint(Ellipse(45.5, 2.5, 2.2, 2.2), glow);
  paint(Box(22, 44, 30, 58), navy);
  paint(Box(34, 44, 42, 58), navy);
  paint(RoundBox(19, 55, 31, 62, 2), white);
  paint(RoundBox(33, 55, 45, 62, 2), white);
  paint(Stroke(15, 31, 13, 44, 3.2), cyan);
  paint(Ellipse(13, 46, 3.2, 3), white);
  paint(RoundBox(19, 24, 45, 46, 4), cyan);
  paint(Polygon({{24, 27}, {40, 27}, {38, 37}, {32, 41}, {26, 37}}), white);
  paint(Ellipse(32, 32.5, 2.8, 2.8), glow);
  paint(Box(19, 42, 45, 46), navy);
  paint(Box(30, 42, 34, 46), glow);
  paint(Ellipse(18, 28, 6, 5), white);
  paint(Stroke(47, 31, 50, 40, 3.2), cyan);
  paint(RoundBox(45, 37, 59, 44, 1.5), steel);
  paint(Box(56, 38.5, 62, 42.5), Rgb{168, 178, 200});
  paint(Ellipse(62, 40.5, 1.8, 1.8), glow);
  paint(Ellipse(49, 43, 3, 3), white);
  paint(Ellipse(46, 28, 6, 5), white);
  paint(Polygon({{30, 3}, {34, 3}, {33.5, 9}, {30.5, 9}}), cyan);
  paint(Ellipse(32, 15, 10, 10), white);
  paint(RoundBox(23.5, 11, 40.5, 20, 3), Rgb{22, 34, 78});
  paint(Box(26, 13.5, 38, 16.5), glow);
}

// Broad and horned, with a flared cape and heavy gauntlets: reds, orange and gold.
void DrawWarmFighter(const Painter& paint) {
  const Rgb maroon{124, 22, 32}, red{216, 46, 36}, orange{246, 132, 32}, gold{246, 196, 52};
  const Rgb brown{96, 48, 30}, horn{250, 226, 156};
  paint(Polygon({{18, 24}, {46, 24}, {56, 58}, {8, 58}}), maroon);
  paint(Box(19, 45, 29, 57), brown);
  paint(Box(35, 45, 45, 57), brown);
  paint(RoundBox(15, 54, 30, 62, 2), Rgb{170, 86, 34});
  paint(RoundBox(34, 54, 49, 62, 2), Rgb{170, 86, 34});
  paint(Stroke(13, 30, 9, 42, 4), red);
  paint(Stroke(51, 30, 55, 42, 4), red);
  paint(RoundBox(14, 25, 50, 48, 6), red);
  paint(Polygon({{20, 27}, {26, 27}, {32, 35}, {38, 27}, {44, 27}, {32, 42}}), orange);
  paint(Box(15, 43, 49, 48), gold);
  paint(Ellipse(32, 45.5, 3.5, 2.8), orange);
  paint(Ellipse(9, 46, 5, 4.5), gold);
  paint(Ellipse(55, 46, 5, 4.5), gold);
  paint(Polygon({{9, 27}, {3, 17}, {15, 23}}), horn);
  paint(Polygon({{55, 27}, {61, 17}, {49, 23}}), horn);
  paint(Ellipse(14, 27, 7, 5.5), orange);
  paint(Ellipse(50, 27, 7, 5.5), orange);
  paint(Polygon({{24, 13}, {14, 9}, {10, 1.5}, {19, 6}, {26, 9}}), horn);
  paint(Polygon({{40, 13}, {50, 9}, {54, 1.5}, {45, 6}, {38, 9}}), horn);
  paint(Ellipse(32, 15, 11, 10), Rgb{236, 104, 36});
  paint(RoundBox(24.5, 12, 39.5, 22, 3), Rgb{64, 16, 22});
  paint(Box(27, 14.5, 31, 17.5), Rgb{255, 232, 80});
  paint(Box(33, 14.5, 37, 17.5), Rgb{255, 232, 80});
  paint(Box(29, 19.5, 35, 20.5), orange);
}

}  // namespace

void DrawFighter(Picture& picture, int player, double dx, double dy, double scale, bool mirror) {
  const Painter paint{picture, dx, dy, scale, mirror};
  if (player == 0)
    DrawCoolFighter(paint);
  else
    DrawWarmFighter(paint);
}

void WriteFighters(const std::string& folder) {
  const char* names[] = {"m001.bmp", "m002.bmp"};
  for (int player = 0; player < 2; ++player) {
    Picture picture = MakePicture(kFighterSize, kFighterSize);
    DrawFighter(picture, player, 0, 0, 1, false);
    OutlineAll(picture, kOutline, 1);
    FillEnclosedGaps(picture, kOutline);
    FinishSprite(picture);
    SavePicture(picture, folder + "/" + names[player]);
  }
}

}  // namespace brawl
