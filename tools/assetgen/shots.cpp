#include "shots.h"

#include <cmath>
#include <utility>

#include "picture.h"

namespace brawl {

namespace {

constexpr int kShotSize = 32;

Rgb Gradient(double t, Rgb core, Rgb light, Rgb colour, Rgb deep) {
  if (t < 0.3) return Mix(core, light, t / 0.3);
  if (t < 0.65) return Mix(light, colour, (t - 0.3) / 0.35);
  return Mix(colour, deep, (t - 0.65) / 0.35);
}

// A glowing ball with a four-pointed sparkle; no outline, it is meant to shine.
Picture GlowingShot(Rgb colour) {
  Picture picture = MakePicture(kShotSize, kShotSize);
  const Rgb white{255, 255, 255};
  const Rgb light = Mix(colour, white, 0.55);
  const Rgb deep = Scale(colour, 0.55);
  const double c = kShotSize / 2.0, radius = 7.5, ray = 12.5;
  for (int y = 0; y < kShotSize; ++y) {
    for (int x = 0; x < kShotSize; ++x) {
      const double dx = x + 0.5 - c, dy = y + 0.5 - c;
      const double r = std::hypot(dx, dy);
      if (r <= radius) {
        Put(picture, x, y, Gradient(r / radius, white, light, colour, deep));
      } else if ((std::fabs(dx) < 1.0 || std::fabs(dy) < 1.0) && r <= ray) {
        Put(picture, x, y, Mix(light, colour, (r - radius) / (ray - radius)));
      } else if (std::fabs(std::fabs(dx) - std::fabs(dy)) < 0.8 && r <= radius + 2.5) {
        Put(picture, x, y, colour);
      }
    }
  }
  FinishSprite(picture);
  return picture;
}

Picture BloodSplash() {
  Picture picture = MakePicture(kShotSize, kShotSize);
  Inside splash = Ellipse(16, 17, 7, 5.5);
  const Inside parts[] = {
      Ellipse(11, 14, 4, 3.5),       Ellipse(21, 13, 4.5, 3.5),    Ellipse(20.5, 21, 4, 3),
      Ellipse(11, 20.5, 3.5, 3),     Stroke(16, 16, 5.5, 7, 1.4),  Stroke(16, 16, 26.5, 6.5, 1.3),
      Stroke(16, 18, 27.5, 25, 1.3), Stroke(16, 18, 6, 26, 1.2),   Stroke(16, 15, 17, 3.5, 1.1),
      Ellipse(4.5, 6, 1.8, 1.8),     Ellipse(27.8, 4.8, 1.7, 1.7), Ellipse(28.5, 26.5, 2, 1.8),
      Ellipse(4.2, 27.5, 1.7, 1.6),  Ellipse(17.3, 2.2, 1.4, 1.4), Ellipse(2.5, 16, 1.3, 1.3),
      Ellipse(29.5, 15.5, 1.4, 1.3), Ellipse(15, 29.5, 1.4, 1.3)};
  for (const Inside& part : parts) splash = Union(splash, part);
  // Drawn a little smaller than its square, so a splash stays smaller than a fighter.
  const double scale = 0.78, shift = kShotSize / 2.0 * (1.0 - scale);
  auto place = [&](Inside shape) { return Place(std::move(shape), shift, shift, scale, false, kShotSize); };
  PaintPart(picture, place(splash), Rgb{196, 14, 28}, Rgb{84, 4, 14});
  PaintPart(picture, place(Ellipse(13, 14.5, 2.2, 1.5)), Rgb{255, 112, 112}, Rgb{226, 48, 56});
  Fill(picture, place(Ellipse(21, 12.5, 1.2, 0.9)), Rgb{255, 150, 150});
  FillEnclosedGaps(picture, Rgb{84, 4, 14});
  FinishSprite(picture);
  return picture;
}

}  // namespace

void WriteShots(const std::string& folder) {
  SavePicture(GlowingShot(Rgb{64, 204, 255}), folder + "/bullet01.bmp");
  SavePicture(GlowingShot(Rgb{255, 140, 28}), folder + "/bullet02.bmp");
  SavePicture(BloodSplash(), folder + "/blood.bmp");
}

}  // namespace brawl
