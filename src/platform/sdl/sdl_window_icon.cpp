#include "platform/sdl/sdl_window_icon.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "base/fatal_error.h"
#include "base/i18n.h"
#include "formats/png.h"
#include "gfx/sdl_owner.h"

namespace brawl {

namespace {

// Large enough for a dock, small enough to load at once.
constexpr char kSize[] = "64x64";

}  // namespace

std::string AppIconFile() {
  const std::unique_ptr<char, void (*)(void*)> base(SDL_GetBasePath(), SDL_free);
  if (!base) return {};
  const std::string name = std::string(kSize) + "/apps/" BRAWL_APP_ID ".png";
  for (const std::string& file : {std::string(base.get()) + "icons/" + name,
                                  std::string(base.get()) + "../share/icons/hicolor/" + name}) {
    std::error_code error;
    if (std::filesystem::is_regular_file(file, error))
      return std::filesystem::path(file).lexically_normal().string();
  }
  return {};
}

void SetWindowIcon(SDL_Window* window, const std::string& file) {
  if (file.empty()) return;
  RgbaPicture picture;
  try {
    picture = LoadPngRgba(file);
  } catch (const FatalError& e) {
    std::fprintf(stderr, _("brawl: warning: %s; the game window goes without its icon\n"), e.what());
    return;
  }
  const SurfaceHandle icon(SDL_CreateRGBSurfaceWithFormatFrom(
      picture.bytes.data(), picture.width, picture.height, 32, picture.width * 4, SDL_PIXELFORMAT_RGBA32));
  if (icon) SDL_SetWindowIcon(window, icon.get());
}

}  // namespace brawl
