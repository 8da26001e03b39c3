#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fatal_error.h"
#include "platform/surface.h"
#include "support/golden.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

namespace fs = std::filesystem;

TEST(SurfacePng, KeepsEvery16BitColourExactly) {
  Surface s = MakeSurface(256, 256);
  for (size_t i = 0; i < s.pixels.size(); ++i) s.pixels[i] = static_cast<uint16_t>(i);
  const std::string dir = MakeTempDir();
  SavePng(s, dir + "/all.png");
  const Surface back = LoadPng(dir + "/all.png");
  EXPECT_EQ(back.width, 256);
  EXPECT_EQ(back.height, 256);
  EXPECT_EQ(back.pixels, s.pixels);
  fs::remove_all(dir);
}

TEST(SurfacePng, NamesTheFileItCannotWrite) {
  const std::string path = MakeTempDir() + "/no/such/folder/shot.png";
  try {
    SavePng(MakeSurface(4, 4), path);
    FAIL() << "no error";
  } catch (const FatalError& e) {
    const std::string message = e.what();
    EXPECT_EQ(message.rfind("screenshot: " + path + ": ", 0), 0u) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
}

}  // namespace

}  // namespace brawl
