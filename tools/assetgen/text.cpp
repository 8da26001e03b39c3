#include "text.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "gen_error.h"
#include "gfx/sdl_owner.h"

namespace brawl {

namespace {

const char* const kFontPattern = "DejaVu Sans:bold";

// The coverage of rendered text, one value 0..1 per pixel, with the box of its ink.
struct Coverage {
  int width = 0, height = 0;
  std::vector<double> alpha;
  int ink_left = 0, ink_top = 0, ink_right = 0, ink_bottom = 0;  // right/bottom exclusive
  double At(int x, int y) const {
    return (x < 0 || y < 0 || x >= width || y >= height) ? 0.0 : alpha[static_cast<size_t>(y) * width + x];
  }
};

Coverage Render(const Typeface& face, int size, const std::string& text) {
  SdlOwner<TTF_Font, TTF_CloseFont> font(TTF_OpenFont(face.path.c_str(), size));
  if (!font) throw GenError("cannot open font", face.path, TTF_GetError());
  SurfaceHandle rendered(TTF_RenderUTF8_Blended(font.get(), text.c_str(), SDL_Color{255, 255, 255, 255}));
  if (!rendered) throw GenError("cannot render text", face.path, TTF_GetError());
  SurfaceHandle surface(SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_RGBA32, 0));
  if (!surface) throw GenError("cannot convert text", face.path, SDL_GetError());
  Coverage c;
  c.width = surface->w;
  c.height = surface->h;
  c.alpha.resize(static_cast<size_t>(c.width) * c.height);
  c.ink_left = c.width;
  c.ink_top = c.height;
  const auto* bytes = static_cast<const uint8_t*>(surface->pixels);
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      const uint8_t a = bytes[static_cast<size_t>(y) * surface->pitch + static_cast<size_t>(x) * 4 + 3];
      c.alpha[static_cast<size_t>(y) * c.width + x] = a / 255.0;
      if (a > 24) {
        c.ink_left = std::min(c.ink_left, x);
        c.ink_top = std::min(c.ink_top, y);
        c.ink_right = std::max(c.ink_right, x + 1);
        c.ink_bottom = std::max(c.ink_bottom, y + 1);
      }
    }
  }
  if (c.ink_right <= c.ink_left) c.ink_left = c.ink_top = c.ink_right = c.ink_bottom = 0;
  return c;
}

// The coverage grown by a round brush of `radius` pixels.
std::vector<double> Grow(const Coverage& c, int radius, int pad) {
  const int w = c.width + 2 * pad, h = c.height + 2 * pad;
  std::vector<double> grown(static_cast<size_t>(w) * h, 0.0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      double best = 0.0;
      for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
          if (dx * dx + dy * dy <= radius * radius + radius)
            best = std::max(best, c.At(x - pad + dx, y - pad + dy));
      grown[static_cast<size_t>(y) * w + x] = best;
    }
  }
  return grown;
}

// Draws the rendered text with its surface's top-left at (left, top).
void Compose(Picture& picture, const Coverage& c, int left, int top, const TextStyle& style) {
  const int pad = style.outline_width + 1;
  const int w = c.width + 2 * pad;
  if (style.outline_width > 0) {
    const std::vector<double> ring = Grow(c, style.outline_width, pad);
    const int h = c.height + 2 * pad;
    if (style.shadow_offset > 0)
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          Blend(picture, left - pad + x + style.shadow_offset, top - pad + y + style.shadow_offset,
                style.shadow, ring[static_cast<size_t>(y) * w + x]);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        Blend(picture, left - pad + x, top - pad + y, style.outline, ring[static_cast<size_t>(y) * w + x]);
  } else if (style.shadow_offset > 0) {
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        Blend(picture, left + x + style.shadow_offset, top + y + style.shadow_offset, style.shadow,
              c.At(x, y));
  }
  const double span = std::max(1, c.ink_bottom - c.ink_top - 1);
  for (int y = 0; y < c.height; ++y) {
    const Rgb colour = Mix(style.top, style.bottom, std::clamp((y - c.ink_top) / span, 0.0, 1.0));
    for (int x = 0; x < c.width; ++x) Blend(picture, left + x, top + y, colour, c.At(x, y));
  }
}

}  // namespace

FontLibrary::FontLibrary() {
  if (TTF_Init() != 0) throw GenError("cannot start the font library", "SDL_ttf", TTF_GetError());
}

FontLibrary::~FontLibrary() {
  TTF_Quit();
  FcFini();
}

Typeface FindTypeface() {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(kFontPattern));
  if (!pattern) throw GenError("cannot find a font", kFontPattern, "fontconfig refused the pattern");
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  FcChar8* file = nullptr;
  Typeface face;
  if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
    face.path = reinterpret_cast<const char*>(file);
  if (match) FcPatternDestroy(match);
  if (face.path.empty()) throw GenError("cannot find a font", kFontPattern, "fontconfig has no match");
  return face;
}

int TextWidth(const Typeface& face, int size, const std::string& text) {
  const Coverage c = Render(face, size, text);
  return c.ink_right - c.ink_left;
}

void DrawTextCentred(Picture& picture, const Typeface& face, int size, const std::string& text, double cx,
                     double cy, const TextStyle& style) {
  const Coverage c = Render(face, size, text);
  const int left = static_cast<int>(std::lround(cx - (c.ink_left + c.ink_right) / 2.0));
  const int top = static_cast<int>(std::lround(cy - (c.ink_top + c.ink_bottom) / 2.0));
  Compose(picture, c, left, top, style);
}

void DrawTextLeft(Picture& picture, const Typeface& face, int size, const std::string& text, double x,
                  double cy, const TextStyle& style) {
  const Coverage c = Render(face, size, text);
  const int left = static_cast<int>(std::lround(x - c.ink_left));
  const int top = static_cast<int>(std::lround(cy - (c.ink_top + c.ink_bottom) / 2.0));
  Compose(picture, c, left, top, style);
}

}  // namespace brawl
