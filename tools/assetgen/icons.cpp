#include "icons.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

#include "gen_error.h"
#include "gfx/sdl_owner.h"
#include "picture.h"

namespace brawl {

namespace {

constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};
constexpr int kSamples = 4;  // per axis, per pixel: smooth edges at every size

struct Layer {
  Inside shape;
  Rgb colour;
};

// The icon in a 1 x 1 square: a billboard on two legs against a night sky tile, a
// fighter's round head on it and a shot flying off it. Drawn in unit coordinates so
// that every size is the same picture, not a scaled copy.
std::vector<Layer> Design() {
  return {
      {RoundBox(0.02, 0.02, 0.98, 0.98, 0.18), Rgb{28, 24, 72}},
      {Minus(RoundBox(0.02, 0.02, 0.98, 0.98, 0.18), Box(0, 0, 1, 0.74)), Rgb{120, 120, 132}},
      {Box(0.28, 0.50, 0.36, 0.86), Rgb{70, 60, 50}},
      {Box(0.64, 0.50, 0.72, 0.86), Rgb{70, 60, 50}},
      {RoundBox(0.12, 0.14, 0.88, 0.60, 0.04), Rgb{250, 250, 236}},
      {RoundBox(0.16, 0.18, 0.84, 0.56, 0.02), Rgb{112, 112, 224}},
      {Ellipse(0.40, 0.34, 0.11, 0.11), Rgb{236, 190, 150}},
      {Box(0.30, 0.44, 0.50, 0.56), Rgb{200, 40, 40}},
      {Ellipse(0.70, 0.32, 0.06, 0.06), Rgb{255, 220, 60}},
  };
}

struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;
};

// Straight alpha over straight alpha.
Rgba Over(Rgba below, Rgb colour, double alpha) {
  Rgba out;
  out.a = alpha + below.a * (1 - alpha);
  if (out.a <= 0) return out;
  auto mix = [&](double top, double bottom) {
    return (top * alpha + bottom * below.a * (1 - alpha)) / out.a;
  };
  out.r = mix(colour.r, below.r);
  out.g = mix(colour.g, below.g);
  out.b = mix(colour.b, below.b);
  return out;
}

uint8_t Byte(double v) {
  return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

void WriteIcon(int size, const std::vector<Layer>& layers, const std::string& path) {
  SurfaceHandle surface(SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_RGBA32));
  if (!surface) throw GenError("cannot make the icon", path, SDL_GetError());
  for (int y = 0; y < size; ++y) {
    auto* row = static_cast<uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch;
    for (int x = 0; x < size; ++x) {
      Rgba pixel;
      for (const Layer& layer : layers) {
        int inside = 0;
        for (int sy = 0; sy < kSamples; ++sy) {
          for (int sx = 0; sx < kSamples; ++sx) {
            const double u = (x + (sx + 0.5) / kSamples) / size;
            const double v = (y + (sy + 0.5) / kSamples) / size;
            if (layer.shape(u, v)) ++inside;
          }
        }
        if (inside > 0) pixel = Over(pixel, layer.colour, inside / double(kSamples * kSamples));
      }
      uint8_t* out = row + 4 * x;
      out[0] = Byte(pixel.r);
      out[1] = Byte(pixel.g);
      out[2] = Byte(pixel.b);
      out[3] = Byte(pixel.a * 255);
    }
  }
  if (IMG_SavePNG(surface.get(), path.c_str()) != 0)
    throw GenError("cannot write the icon", path, IMG_GetError());
}

}  // namespace

void WriteIcons(const std::string& folder, const std::string& id) {
  const std::vector<Layer> layers = Design();
  for (int size : kSizes) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path apps = std::filesystem::path(folder) / name / "apps";
    std::error_code error;
    std::filesystem::create_directories(apps, error);
    if (error) throw GenError("cannot write the icons", apps.string(), error.message());
    WriteIcon(size, layers, (apps / (id + ".png")).string());
  }
}

}  // namespace brawl
