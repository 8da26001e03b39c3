#include "picture.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "gen_error.h"
#include "gfx/sdl_owner.h"
#include "write_file.h"

namespace brawl {

Picture MakePicture(int width, int height) {
  Picture p;
  p.width = width;
  p.height = height;
  p.pixels.assign(static_cast<size_t>(width) * height, Rgb{});
  p.drawn.assign(static_cast<size_t>(width) * height, 0);
  return p;
}

static size_t Index(const Picture& picture, int x, int y) {
  return static_cast<size_t>(y) * picture.width + x;
}

static bool InPicture(const Picture& picture, int x, int y) {
  return x >= 0 && y >= 0 && x < picture.width && y < picture.height;
}

Rgb& At(Picture& picture, int x, int y) {
  return picture.pixels[Index(picture, x, y)];
}

bool IsDrawn(const Picture& picture, int x, int y) {
  return InPicture(picture, x, y) && picture.drawn[Index(picture, x, y)] != 0;
}

void Put(Picture& picture, int x, int y, Rgb colour) {
  if (!InPicture(picture, x, y)) return;
  picture.pixels[Index(picture, x, y)] = colour;
  picture.drawn[Index(picture, x, y)] = 1;
}

void Blend(Picture& picture, int x, int y, Rgb colour, double alpha) {
  if (!InPicture(picture, x, y) || alpha <= 0.0) return;
  Put(picture, x, y, Mix(At(picture, x, y), colour, std::min(alpha, 1.0)));
}

static uint8_t Channel(double v) {
  return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t), Channel(a.b + (b.b - a.b) * t)};
}

Rgb Scale(Rgb c, double factor) {
  return {Channel(c.r * factor), Channel(c.g * factor), Channel(c.b * factor)};
}

Rgb KeepVisible(Rgb c) {
  // RGB565 keeps the top 5 bits of red and blue and the top 6 of green.
  if (c.r < 8 && c.g < 4 && c.b < 8) c.b = 8;
  return c;
}

static std::vector<uint8_t> Mask(const Picture& picture, const Inside& shape) {
  std::vector<uint8_t> mask(picture.pixels.size(), 0);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) mask[Index(picture, x, y)] = shape(x + 0.5, y + 0.5) ? 1 : 0;
  return mask;
}

void Fill(Picture& picture, const Inside& shape, Rgb colour) {
  const auto mask = Mask(picture, shape);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (mask[Index(picture, x, y)]) Put(picture, x, y, colour);
}

void PaintPart(Picture& picture, const Inside& shape, Rgb colour, Rgb outline) {
  const auto mask = Mask(picture, shape);
  auto in = [&](int x, int y) { return InPicture(picture, x, y) && mask[Index(picture, x, y)] != 0; };
  const Rgb light = Mix(colour, Rgb{255, 255, 255}, 0.4);
  const Rgb shade = Scale(colour, 0.68);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (in(x, y)) {
        Rgb c = colour;
        if (!in(x + 1, y) || !in(x, y + 1) || !in(x + 1, y + 1))
          c = shade;
        else if (!in(x - 1, y) || !in(x, y - 1))
          c = light;
        Put(picture, x, y, c);
        continue;
      }
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy)
        for (int dx = -1; dx <= 1 && !near; ++dx) near = (dx != 0 || dy != 0) && in(x + dx, y + dy);
      if (near) Put(picture, x, y, outline);
    }
  }
}

void OutlineAll(Picture& picture, Rgb outline, int thickness) {
  for (int round = 0; round < thickness; ++round) {
    const std::vector<uint8_t> before = picture.drawn;
    auto was = [&](int x, int y) { return InPicture(picture, x, y) && before[Index(picture, x, y)] != 0; };
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x)
        if (!was(x, y) && (was(x - 1, y) || was(x + 1, y) || was(x, y - 1) || was(x, y + 1)))
          Put(picture, x, y, outline);
  }
}

Inside Ellipse(double cx, double cy, double rx, double ry) {
  return [=](double x, double y) {
    const double u = (x - cx) / rx, v = (y - cy) / ry;
    return u * u + v * v <= 1.0;
  };
}

Inside Box(double x0, double y0, double x1, double y1) {
  return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Inside RoundBox(double x0, double y0, double x1, double y1, double radius) {
  return [=](double x, double y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    const double cx = std::clamp(x, x0 + radius, x1 - radius);
    const double cy = std::clamp(y, y0 + radius, y1 - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
  };
}

Inside Polygon(std::vector<std::pair<double, double>> points) {
  return [points = std::move(points)](double x, double y) {
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const auto [xi, yi] = points[i];
      const auto [xj, yj] = points[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
  };
}

Inside Stroke(double x0, double y0, double x1, double y1, double radius) {
  return [=](double x, double y) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.0, 1.0) : 0.0;
    const double ex = x - (x0 + t * dx), ey = y - (y0 + t * dy);
    return ex * ex + ey * ey <= radius * radius;
  };
}

Inside Union(Inside a, Inside b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) || b(x, y); };
}

Inside Minus(Inside a, Inside b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

Inside Place(Inside shape, double dx, double dy, double scale, bool mirror, double width) {
  return [=, shape = std::move(shape)](double x, double y) {
    double u = (x - dx) / scale;
    const double v = (y - dy) / scale;
    if (mirror) u = width - u;
    return shape(u, v);
  };
}

void FillEnclosedGaps(Picture& picture, Rgb colour) {
  std::vector<uint8_t> outside(picture.pixels.size(), 0);
  std::vector<std::pair<int, int>> todo;
  auto visit = [&](int x, int y) {
    if (!InPicture(picture, x, y) || IsDrawn(picture, x, y) || outside[Index(picture, x, y)]) return;
    outside[Index(picture, x, y)] = 1;
    todo.emplace_back(x, y);
  };
  for (int x = 0; x < picture.width; ++x) visit(x, 0), visit(x, picture.height - 1);
  for (int y = 0; y < picture.height; ++y) visit(0, y), visit(picture.width - 1, y);
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    visit(x + 1, y), visit(x - 1, y), visit(x, y + 1), visit(x, y - 1);
  }
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (!IsDrawn(picture, x, y) && !outside[Index(picture, x, y)]) Put(picture, x, y, colour);
}

void FinishSprite(Picture& picture) {
  for (size_t i = 0; i < picture.pixels.size(); ++i)
    picture.pixels[i] = picture.drawn[i] ? KeepVisible(picture.pixels[i]) : Rgb{};
}

void SavePicture(const Picture& picture, const std::string& path) {
  SurfaceHandle surface(
      SDL_CreateRGBSurfaceWithFormat(0, picture.width, picture.height, 24, SDL_PIXELFORMAT_RGB24));
  if (!surface) throw GenError("cannot make a picture", path, SDL_GetError());
  auto* bytes = static_cast<uint8_t*>(surface->pixels);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const Rgb c = picture.pixels[Index(picture, x, y)];
      uint8_t* p = bytes + static_cast<size_t>(y) * surface->pitch + static_cast<size_t>(x) * 3;
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
    }
  }
  // Encoded in memory first, so that a failed write can say why.
  std::string encoded(1024 + static_cast<size_t>(picture.height) * (picture.width * 4 + 4), '\0');
  SDL_RWops* memory = SDL_RWFromMem(encoded.data(), static_cast<int>(encoded.size()));
  if (!memory || SDL_SaveBMP_RW(surface.get(), memory, 0) != 0) {
    if (memory) SDL_RWclose(memory);
    throw GenError("cannot encode a picture", path, SDL_GetError());
  }
  encoded.resize(static_cast<size_t>(SDL_RWtell(memory)));
  SDL_RWclose(memory);
  WriteFile(path, encoded);
}

}  // namespace brawl
