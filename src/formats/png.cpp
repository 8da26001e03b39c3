#include "formats/png.h"

#include <SDL.h>
#include <SDL_image.h>

#include <memory>

#include "base/fatal_error.h"
#include "gfx/sdl_owner.h"

namespace brawl {

void SavePng(const Surface& surface, const std::string& path) {
  if (surface.width <= 0 || surface.height <= 0) throw Fatal("screenshot", path, "empty picture");
  // SDL only reads these pixels; the cast is for its C interface.
  SurfaceHandle view(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint16_t*>(surface.pixels.data()),
                                                        surface.width, surface.height, 16, surface.width * 2,
                                                        SDL_PIXELFORMAT_RGB565));
  if (!view) throw Fatal("screenshot", path, SDL_GetError());
  // 24-bit PNG: every 5- and 6-bit value widens to 8 bits and narrows back to itself.
  SurfaceHandle rgb(SDL_ConvertSurfaceFormat(view.get(), SDL_PIXELFORMAT_RGB24, 0));
  if (!rgb) throw Fatal("screenshot", path, SDL_GetError());
  if (IMG_SavePNG(rgb.get(), path.c_str()) != 0) throw Fatal("screenshot", path, IMG_GetError());
}

}  // namespace brawl
