#include "formats/bitmap.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/fatal_error.h"
#include "base/file_reader.h"
#include "base/i18n.h"
#include "gfx/sdl_owner.h"

namespace brawl {

// Our own look at the header comes first: it names what is wrong in words a player can act
// on, and it refuses a truncated file before the decoder reads past its end.
namespace {

// Run-length pictures carry no size of their own, so this bound is all that keeps a file of
// a few bytes from asking for gigabytes; the game's largest picture is a screen.
constexpr int64_t kMaxSide = 4096;
// The largest such picture at 32 bits a pixel, with room for its headers and palette.
constexpr int64_t kMaxBitmapFileBytes = kMaxSide * kMaxSide * 4 + 64 * 1024;

uint32_t U16(const unsigned char* p) {
  return p[0] | (p[1] << 8u);
}
uint32_t U32(const unsigned char* p) {
  return p[0] | (p[1] << 8u) | (p[2] << 16u) | (static_cast<uint32_t>(p[3]) << 24u);
}

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
  throw Fatal(_("bitmap"), path, why);
}

void CheckHeader(const std::string& bytes, const std::string& path) {
  const int64_t size = static_cast<int64_t>(bytes.size());
  unsigned char h[54] = {};
  const size_t got = std::min(bytes.size(), sizeof h);
  std::memcpy(h, bytes.data(), got);
  if (got < 2 || h[0] != 'B' || h[1] != 'M') Refuse(path, _("not a BMP file"));
  if (got < 18) Refuse(path, _("truncated header"));
  const uint32_t info_size = U32(h + 14);
  if (info_size != 12 && info_size != 40 && info_size != 52 && info_size != 56 && info_size != 64 &&
      info_size != 108 && info_size != 124) {
    Refuse(path, Fill(_("unknown BMP header size {1}"), {std::to_string(info_size)}));
  }
  if (size < 14 + static_cast<int64_t>(info_size) || got < 14 + std::min<size_t>(info_size, 40)) {
    Refuse(path, _("truncated header"));
  }
  int64_t width, height;
  uint32_t bits, compression = 0;
  if (info_size == 12) {
    width = static_cast<int16_t>(U16(h + 18));
    height = static_cast<int16_t>(U16(h + 20));
    bits = U16(h + 24);
  } else {
    width = static_cast<int32_t>(U32(h + 18));
    height = static_cast<int32_t>(U32(h + 22));
    bits = U16(h + 28);
    compression = U32(h + 30);
  }
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0) Refuse(path, _("empty picture"));
  if (width > kMaxSide || height > kMaxSide) {
    Refuse(path, Fill(_("picture too large ({1}x{2})"), {std::to_string(width), std::to_string(height)}));
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    Refuse(path, Fill(_("unsupported depth of {1} bits per pixel"), {std::to_string(bits)}));
  }
  const int64_t offset = U32(h + 10);
  if (offset >= size) Refuse(path, _("truncated: no pixel data"));
  // Run-length pictures (1, 2) have no fixed size; the others are plain rows.
  if (compression == 0 || compression == 3 || compression == 6) {
    const int64_t row = (width * bits + 31) / 32 * 4;
    if (offset + row * height > size) {
      Refuse(path, Fill(_("truncated: pixel data needs {1} bytes, the file has {2}"),
                        {std::to_string(offset + row * height), std::to_string(size)}));
    }
  } else if (compression != 1 && compression != 2) {
    Refuse(path, Fill(_("unsupported compression {1}"), {std::to_string(compression)}));
  }
}

}  // namespace

Surface LoadBitmap(const std::string& path) {
  const std::string bytes = ReadGameFile(path, kMaxBitmapFileBytes, _("bitmap"));
  CheckHeader(bytes, path);
  SurfaceHandle loaded(SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1));
  if (!loaded) Refuse(path, SDL_GetError());
  SurfaceHandle converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB565, 0));
  if (!converted) Refuse(path, SDL_GetError());
  Surface surface = MakeSurface(converted->w, converted->h);
  if (SDL_LockSurface(converted.get()) != 0) Refuse(path, SDL_GetError());
  for (int y = 0; y < surface.height; ++y) {
    std::memcpy(
        surface.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(surface.width),
        static_cast<const unsigned char*>(converted->pixels) + static_cast<size_t>(y) * converted->pitch,
        static_cast<size_t>(surface.width) * sizeof(uint16_t));
  }
  SDL_UnlockSurface(converted.get());
  return surface;
}

}  // namespace brawl
