#include "support/golden.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "base/fatal_error.h"
#include "formats/png.h"
#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

namespace {

using SdlSurface = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

bool Updating() {
  const char* value = std::getenv("BRAWL_UPDATE_GOLDEN");
  return value && std::string(value) == "1";
}

std::string FailurePath(const std::string& name, const std::string& suffix) {
  const fs::path dir = fs::path(BuildDir()) / "golden-failures";
  fs::create_directories(dir);
  return (dir / (fs::path(name).stem().string() + suffix)).string();
}

uint16_t Dimmed(uint16_t pixel) {
  // Half of each channel, so that the red marks stand out.
  return static_cast<uint16_t>((pixel >> 1) & 0x7BEF);
}

}  // namespace

Surface LoadPng(const std::string& path) {
  SdlSurface loaded(IMG_Load(path.c_str()), SDL_FreeSurface);
  if (!loaded) {
    ADD_FAILURE() << "cannot read " << path << ": " << IMG_GetError();
    return Surface{};
  }
  SdlSurface converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB565, 0), SDL_FreeSurface);
  if (!converted) {
    ADD_FAILURE() << "cannot convert " << path << ": " << SDL_GetError();
    return Surface{};
  }
  Surface surface = MakeSurface(converted->w, converted->h);
  for (int y = 0; y < surface.height; ++y) {
    const auto* row = reinterpret_cast<const uint16_t*>(static_cast<const unsigned char*>(converted->pixels) +
                                                        static_cast<size_t>(y) * converted->pitch);
    std::copy(row, row + surface.width, surface.pixels.begin() + static_cast<ptrdiff_t>(y) * surface.width);
  }
  return surface;
}

std::string GoldenPath(const std::string& name) {
  return (fs::path(SourceDir()) / "tests/golden" / name).string();
}

::testing::AssertionResult SamePicture(const Surface& actual, const Surface& expected,
                                       const std::string& diff_png) {
  const int width = std::max(actual.width, expected.width);
  const int height = std::max(actual.height, expected.height);
  Surface diff = MakeSurface(width, height);
  int64_t differing = 0;
  int first_x = -1, first_y = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool in_actual = x < actual.width && y < actual.height;
      const bool in_expected = x < expected.width && y < expected.height;
      const size_t a = static_cast<size_t>(y) * static_cast<size_t>(actual.width) + static_cast<size_t>(x);
      const size_t e = static_cast<size_t>(y) * static_cast<size_t>(expected.width) + static_cast<size_t>(x);
      const bool same = in_actual && in_expected && actual.pixels[a] == expected.pixels[e];
      diff.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
          same ? Dimmed(expected.pixels[e]) : Rgb565(0xFF0000);
      if (!same && differing++ == 0) first_x = x, first_y = y;
    }
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  std::ostringstream why;
  if (actual.width != expected.width || actual.height != expected.height) {
    why << "size " << actual.width << "x" << actual.height << ", expected " << expected.width << "x"
        << expected.height << "; ";
  }
  why << differing << " pixels differ, the first at (" << first_x << ", " << first_y << ")";
  if (width > 0 && height > 0) {
    try {
      SavePng(diff, diff_png);
      why << "; diff: " << diff_png;
    } catch (const FatalError& e) {
      why << "; no diff: " << e.what();
    }
  }
  return ::testing::AssertionFailure() << why.str();
}

::testing::AssertionResult MatchesGolden(const Surface& actual, const std::string& name) {
  const std::string golden = GoldenPath(name);
  if (Updating()) {
    fs::create_directories(fs::path(golden).parent_path());
    SavePng(actual, golden);
    return ::testing::AssertionSuccess() << "rewrote " << golden;
  }
  if (!fs::exists(golden)) {
    return ::testing::AssertionFailure()
           << "no golden picture " << golden << " (BRAWL_UPDATE_GOLDEN=1 makes it)";
  }
  const Surface expected = LoadPng(golden);
  ::testing::AssertionResult result = SamePicture(actual, expected, FailurePath(name, ".diff.png"));
  if (!result) {
    const std::string saved = FailurePath(name, ".png");
    SavePng(actual, saved);
    return ::testing::AssertionFailure() << name << ": " << result.message() << "; made: " << saved;
  }
  return result;
}

Surface HeadlessScreenshot(const std::string& script, int pass, const std::vector<std::string>& args) {
  const std::string dir = MakeTempDir();
  const std::string shot = dir + "/shot.png";
  std::vector<std::string> all = {"--headless", "--script", "-", "--screenshot",
                                  std::to_string(pass) + ":" + shot};
  all.insert(all.end(), args.begin(), args.end());
  const RunResult run = RunBrawl(all, script);
  Surface picture;
  if (run.exit_code != 0) {
    ADD_FAILURE() << "brawl exited with " << run.exit_code << ": " << run.err;
  } else {
    picture = LoadPng(shot);
  }
  fs::remove_all(dir);
  return picture;
}

}  // namespace brawl
