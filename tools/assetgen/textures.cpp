#include "textures.h"

#include <algorithm>
#include <cstdint>

#include "picture.h"

namespace brawl {

namespace {

constexpr int kSide = 64;

// The same speckle on every run: a hash of the pixel, -1..1.
double Noise(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u ^ seed * 83492791u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<double>(h & 0xFFFF) / 32767.5 - 1.0;
}

Rgb Grey(double level) {
  return Scale(Rgb{255, 255, 255}, level / 255.0);
}

// Two by two tiles, light and dark in a check: grout along two edges of each (the
// neighbour has the other two), a bevel lit from the upper left, a faint speckle.
double TileLevel(int x, int y, double light, double dark) {
  const int tx = x % kSide, ty = y % kSide;
  const double face = ((x / kSide + y / kSide) % 2 == 0 ? light : dark) + 6 * Noise(x, y, 1);
  if (tx < 2 || ty < 2) return face * 0.62;
  if (tx < 4 || ty < 4) return std::min(255.0, face * 1.08);
  if (tx >= kSide - 2 || ty >= kSide - 2) return face * 0.84;
  return face;
}

Picture Floor() {
  Picture p = MakePicture(2 * kSide, 2 * kSide);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      // A small stud in the middle of each tile.
      const int dx = x % kSide - kSide / 2, dy = y % kSide - kSide / 2;
      const double stud = dx * dx + dy * dy < 10 ? 0.9 : 1.0;
      Put(p, x, y, Grey(stud * TileLevel(x, y, 240, 196)));
    }
  return p;
}

// The edge tiles warn with diagonal bands.
Picture Border() {
  Picture p = MakePicture(2 * kSide, 2 * kSide);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const double band = ((x + y) / 8) % 2 == 0 ? 1.0 : 0.8;
      Put(p, x, y, Grey(band * TileLevel(x, y, 248, 218)));
    }
  return p;
}

// Bold stripes for the kerb, square to its length whichever way it runs.
Picture Kerb() {
  Picture p = MakePicture(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool stripe = ((x + y) / 8) % 2 == 0;
      Put(p, x, y, Grey((stripe ? 250 : 120) + 4 * Noise(x, y, 2)));
    }
  return p;
}

// Tufts: short vertical strokes of lighter and darker green over a mottled ground.
Picture Grass() {
  Picture p = MakePicture(kSide, kSide);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const double mottle = 14 * Noise(x / 8, y / 8, 3);
      const double tuft = 30 * Noise(x, y / 3, 4);
      Put(p, x, y, Grey(212 + mottle + tuft));
    }
  return p;
}

// Bricks in courses of 16 texels, every other course shifted by half a brick.
Picture Wall() {
  Picture p = MakePicture(kSide, kSide);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const int course = y / 16;
      const int shifted = x + (course % 2) * 16;
      const bool mortar = y % 16 < 2 || shifted % 32 < 2;
      const double brick = 232 + 10 * Noise(shifted / 32, course, 5) + 6 * Noise(x, y, 6);
      Put(p, x, y, Grey(mortar ? 140 : (y % 16 == 2 ? 255 : brick)));
    }
  return p;
}

}  // namespace

void WriteTextures(const std::string& folder) {
  SavePicture(Floor(), folder + "/" + kFloorTexture);
  SavePicture(Border(), folder + "/" + kBorderTexture);
  SavePicture(Kerb(), folder + "/" + kKerbTexture);
  SavePicture(Grass(), folder + "/" + kGrassTexture);
  SavePicture(Wall(), folder + "/" + kWallTexture);
}

}  // namespace brawl
