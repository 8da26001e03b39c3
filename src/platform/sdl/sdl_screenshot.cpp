#include "platform/sdl/sdl_screenshot.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

#include "base/fatal_error.h"
#include "base/i18n.h"
#include "formats/png.h"

namespace brawl {

void SaveScreenshot(const Surface& picture, const std::string& folder, int& counter) {
  try {
    if (folder.empty())
      throw Fatal(_("cannot save the screenshot"), "screenshots", _("neither HOME nor XDG_DATA_HOME is set"));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw Fatal(_("cannot save the screenshot"), folder, error.message());
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    std::string path;
    do {
      path = folder + "brawl-" + stamp + "-" + std::to_string(++counter) + ".png";
    } while (std::filesystem::exists(path, error));
    SavePng(picture, path);
    std::printf(_("brawl: screenshot saved to %s\n"), path.c_str());
    std::fflush(stdout);
  } catch (const FatalError& e) {
    std::fprintf(stderr, _("brawl: warning: %s\n"), e.what());
  }
}

}  // namespace brawl
