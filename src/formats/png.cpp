#include "formats/png.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <memory>

#include "base/fatal_error.h"
#include "base/file_reader.h"
#include "base/i18n.h"
#include "gfx/sdl_owner.h"

namespace brawl {

namespace {

// The largest application icon is a few kilobytes.
constexpr int64_t kMaxIconBytes = 4 << 20;

}  // namespace

void SavePng(const Surface& surface, const std::string& path) {
  if (surface.width <= 0 || surface.height <= 0) throw Fatal(_("screenshot"), path, _("empty picture"));
  // SDL only reads these pixels; the cast is for its C interface.
  SurfaceHandle view(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint16_t*>(surface.pixels.data()),
                                                        surface.width, surface.height, 16, surface.width * 2,
                                                        SDL_PIXELFORMAT_RGB565));
  if (!view) throw Fatal(_("screenshot"), path, SDL_GetError());
  // 24-bit PNG: every 5- and 6-bit value widens to 8 bits and narrows back to itself.
  SurfaceHandle rgb(SDL_ConvertSurfaceFormat(view.get(), SDL_PIXELFORMAT_RGB24, 0));
  if (!rgb) throw Fatal(_("screenshot"), path, SDL_GetError());
  if (IMG_SavePNG(rgb.get(), path.c_str()) != 0) throw Fatal(_("screenshot"), path, IMG_GetError());
}

RgbaPicture LoadPngRgba(const std::string& path) {
  // Through the game's reader, so that a folder or a pipe at that name is refused at once.
  const std::string bytes = ReadGameFile(path, kMaxIconBytes, _("picture"));
  SurfaceHandle loaded(
      IMG_LoadTyped_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1, "PNG"));
  if (!loaded) throw Fatal(_("picture"), path, IMG_GetError());
  SurfaceHandle rgba(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGBA32, 0));
  if (!rgba) throw Fatal(_("picture"), path, SDL_GetError());
  RgbaPicture picture{rgba->w, rgba->h, {}};
  const size_t row = static_cast<size_t>(rgba->w) * 4;
  picture.bytes.resize(row * static_cast<size_t>(rgba->h));
  for (int y = 0; y < rgba->h; ++y) {
    const auto* from = static_cast<const uint8_t*>(rgba->pixels) + static_cast<ptrdiff_t>(y) * rgba->pitch;
    std::copy(from, from + row, picture.bytes.begin() + static_cast<ptrdiff_t>(row * static_cast<size_t>(y)));
  }
  return picture;
}

}  // namespace brawl
