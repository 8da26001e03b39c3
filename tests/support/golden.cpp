#include "support/golden.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "formats/png.h"
#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

namespace {

using SdlSurface = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)>;

std::string FailurePath(const std::string& name, const std::string& suffix) {
  const fs::path dir = fs::path(BuildDir()) / "golden-failures";
  fs::create_directories(dir);
  return (dir / (fs::path(name).stem().string() + suffix)).string();
}

}  // namespace

Surface LoadPng(const std::string& path) {
  SdlSurface loaded(IMG_Load(path.c_str()), SDL_FreeSurface);
  SdlSurface converted(loaded ? SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB565, 0) : nullptr,
                       SDL_FreeSurface);
  if (!converted) {
    ADD_FAILURE() << "cannot read " << path << " as RGB565: " << SDL_GetError();
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

::testing::AssertionResult MatchesGolden(const Surface& actual, const std::string& name) {
  const std::string golden = (fs::path(SourceDir()) / "tests/golden" / name).string();
  const char* update = std::getenv("BRAWL_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    SavePng(actual, golden);
    return ::testing::AssertionSuccess() << "rewrote " << golden;
  }
  if (!fs::exists(golden)) {
    return ::testing::AssertionFailure()
           << "no golden picture " << golden << " (BRAWL_UPDATE_GOLDEN=1 makes it)";
  }
  const Surface expected = LoadPng(golden);
  std::ostringstream why;
  if (actual.width != expected.width || actual.height != expected.height) {
    why << "size " << actual.width << "x" << actual.height << ", expected " << expected.width << "x"
        << expected.height;
  } else {
    // Differing pixels red, the rest the golden picture at half brightness so that they stand out.
    Surface diff = expected;
    int64_t differing = 0;
    size_t first = 0;
    for (size_t i = 0; i < diff.pixels.size(); ++i) {
      const bool same = actual.pixels[i] == expected.pixels[i];
      if (!same && differing++ == 0) first = i;
      diff.pixels[i] = same ? static_cast<uint16_t>((expected.pixels[i] >> 1) & 0x7BEF) : Rgb565(0xFF0000);
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    const std::string diff_png = FailurePath(name, ".diff.png");
    SavePng(diff, diff_png);
    why << differing << " pixels differ, the first at (" << first % static_cast<size_t>(actual.width) << ", "
        << first / static_cast<size_t>(actual.width) << "); diff: " << diff_png;
  }
  const std::string saved = FailurePath(name, ".png");
  SavePng(actual, saved);
  return ::testing::AssertionFailure() << name << ": " << why.str() << "; made: " << saved;
}

Surface HeadlessScreenshot(const std::string& script, int pass, const std::vector<std::string>& args) {
  const std::string dir = MakeTempDir();
  const std::string shot = dir + "/shot.png";
  std::vector<std::string> all = {"--headless", "--script", "-", "--screenshot",
                                  std::to_string(pass) + ":" + shot};
  all.insert(all.end(), args.begin(), args.end());
  const RunResult run = RunBrawl(all, script);
  EXPECT_EQ(run.exit_code, 0) << run.err;
  const Surface picture = run.exit_code == 0 ? LoadPng(shot) : Surface{};
  fs::remove_all(dir);
  return picture;
}

}  // namespace brawl
