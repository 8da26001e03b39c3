#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brawl {

// A picture in 24-bit colour. Sprites keep black (0, 0, 0) for the see-through parts and
// nothing else, so every drawn pixel is kept clear of black, also after RGB565 rounding.
struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;     // row-major
  std::vector<uint8_t> drawn;  // 1 where something has been painted
};

// A shape as a test of a point in picture coordinates (pixel centres at +0.5).
using Inside = std::function<bool(double x, double y)>;

Picture MakePicture(int width, int height);
Rgb& At(Picture& picture, int x, int y);
bool IsDrawn(const Picture& picture, int x, int y);
void Put(Picture& picture, int x, int y, Rgb colour);
// Blends colour over the pixel with coverage alpha (0..1).
void Blend(Picture& picture, int x, int y, Rgb colour, double alpha);

Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double factor);
// The nearest colour that stays visibly non-black in 16 bits.
Rgb KeepVisible(Rgb c);

// Fills the shape flatly.
void Fill(Picture& picture, const Inside& shape, Rgb colour);
// A pixel-art part: a one-pixel ring in `outline` around it, then the fill, lit from the
// upper left (light top/left edge, shaded bottom/right edge).
void PaintPart(Picture& picture, const Inside& shape, Rgb colour, Rgb outline);
// A ring of `outline` around everything drawn so far, `thickness` pixels wide.
void OutlineAll(Picture& picture, Rgb outline, int thickness);

// Shapes.
Inside Ellipse(double cx, double cy, double rx, double ry);
Inside Box(double x0, double y0, double x1, double y1);
Inside RoundBox(double x0, double y0, double x1, double y1, double radius);
Inside Polygon(std::vector<std::pair<double, double>> points);
Inside Stroke(double x0, double y0, double x1, double y1, double radius);
Inside Union(Inside a, Inside b);
Inside Minus(Inside a, Inside b);
// The shape drawn at `scale`, shifted by (dx, dy), mirrored left-right about its own
// `width` when asked: lets one figure serve as sprite and as title picture.
Inside Place(Inside shape, double dx, double dy, double scale, bool mirror, double width);

// Paints every undrawn pixel that is shut in by the drawing: it would show the sky through
// a pinhole in the figure.
void FillEnclosedGaps(Picture& picture, Rgb colour);
// Makes every undrawn pixel black and every drawn pixel visibly non-black.
void FinishSprite(Picture& picture);
// Writes a 24-bit Windows bitmap. Throws naming the file.
void SavePicture(const Picture& picture, const std::string& path);

}  // namespace brawl
