#include "gfx/text.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/fatal_error.h"
#include "base/i18n.h"
#include "gfx/sdl_owner.h"

namespace brawl {

namespace {

constexpr const char* kFamily = "DejaVu Sans";
// The overlay draws two texts, one of which changes once a second: a few entries suffice, and
// a frame finds its text already rendered.
constexpr size_t kCachedTexts = 8;

// A rendered text: one byte a pixel, nonzero where the glyphs cover it.
struct TextMask {
  std::string text;
  int width = 0, height = 0;
  std::vector<uint8_t> covered;
  uint64_t last_used = 0;
};

std::string FindFontFile() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) throw Fatal(_("font"), kFamily, _("fontconfig could not be started"));
  std::string file;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(kFamily));
  if (pattern) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
      file = reinterpret_cast<const char*>(path);
    }
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  if (file.empty())
    throw Fatal(_("font"), kFamily, _("not found through fontconfig (install fonts-dejavu-core)"));
  return file;
}

}  // namespace

struct FontHandle {
  SdlOwner<TTF_Font, TTF_CloseFont> font;
  std::vector<TextMask> cache;
  uint64_t clock = 0;

  FontHandle() = default;
  FontHandle(const FontHandle&) = delete;
  FontHandle& operator=(const FontHandle&) = delete;
  ~FontHandle() {
    font.reset();
    TTF_Quit();
  }

  const TextMask& Render(std::string_view text) {
    ++clock;
    for (TextMask& entry : cache) {
      if (entry.text == text) {
        entry.last_used = clock;
        return entry;
      }
    }
    TextMask* slot;
    if (cache.size() < kCachedTexts) {
      slot = &cache.emplace_back();
    } else {
      slot = &cache.front();
      for (TextMask& entry : cache) {
        if (entry.last_used < slot->last_used) slot = &entry;
      }
    }
    slot->text.assign(text);
    slot->last_used = clock;
    slot->width = slot->height = 0;
    slot->covered.clear();
    // Solid glyphs keep the crisp 16-bit look and need no blending with the picture below.
    SurfaceHandle rendered(
        TTF_RenderUTF8_Solid(font.get(), slot->text.c_str(), SDL_Color{255, 255, 255, 255}));
    if (!rendered) {
      const std::string why = TTF_GetError();
      slot->text.clear();
      throw Fatal(_("text"), "\"" + std::string(text) + "\"", why);
    }
    slot->width = rendered->w;
    slot->height = rendered->h;
    slot->covered.resize(static_cast<size_t>(rendered->w) * static_cast<size_t>(rendered->h));
    SDL_LockSurface(rendered.get());
    for (int y = 0; y < rendered->h; ++y) {
      const auto* row =
          static_cast<const uint8_t*>(rendered->pixels) + static_cast<size_t>(y) * rendered->pitch;
      // An 8-bit surface: index 0 is the background, anything else a glyph pixel.
      for (int x = 0; x < rendered->w; ++x) {
        slot->covered[static_cast<size_t>(y) * static_cast<size_t>(rendered->w) + static_cast<size_t>(x)] =
            row[x] != 0;
      }
    }
    SDL_UnlockSurface(rendered.get());
    return *slot;
  }
};

Font OpenFont(int pixel_height) {
  const std::string file = FindFontFile();
  if (TTF_Init() != 0) throw Fatal(_("font"), file, TTF_GetError());
  auto handle = std::make_shared<FontHandle>();  // from here on it owns the TTF_Init
  handle->font.reset(TTF_OpenFont(file.c_str(), pixel_height));
  if (!handle->font) throw Fatal(_("font"), file, TTF_GetError());
  return Font{handle};
}

void DrawText(Surface& target, const Font& font, int x, int y, std::string_view text) {
  if (!font.handle) throw Fatal(_("text"), "\"" + std::string(text) + "\"", _("no font is open"));
  if (text.empty()) return;
  const TextMask& mask = font.handle->Render(text);
  const uint16_t color = Rgb565(target.fore_color & 0xFFFFFFu);
  const int64_t left = std::max<int64_t>(0, -int64_t{x});
  const int64_t top = std::max<int64_t>(0, -int64_t{y});
  const int64_t right = std::min<int64_t>(mask.width, int64_t{target.width} - x);
  const int64_t bottom = std::min<int64_t>(mask.height, int64_t{target.height} - y);
  for (int64_t my = top; my < bottom; ++my) {
    const uint8_t* from = mask.covered.data() + my * mask.width;
    uint16_t* to = target.pixels.data() + (y + my) * target.width;
    for (int64_t mx = left; mx < right; ++mx) {
      if (from[mx]) to[x + mx] = color;
    }
  }
}

int TextWidth(const Font& font, std::string_view text) {
  int width = 0;
  if (font.handle && !text.empty())
    TTF_SizeUTF8(font.handle->font.get(), std::string(text).c_str(), &width, nullptr);
  return width;
}

}  // namespace brawl
