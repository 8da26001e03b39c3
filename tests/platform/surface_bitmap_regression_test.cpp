#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/fatal_error.h"
#include "platform/surface.h"
#include "support/run_brawl.h"

namespace brawl {

// Damaged bitmaps found by fuzzing the loader.
namespace {

void Put(std::string& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// An 8-bit run-length BMP of the given size whose pixel data ends at once: a kilobyte that
// claims a picture of any size, since run-length data has no fixed length.
std::string EmptyRunLengthBmp(uint32_t side) {
  const std::string runs("\0\1", 2);
  const uint32_t offset = 14 + 40 + 1024;
  std::string b = "BM";
  Put(b, offset + static_cast<uint32_t>(runs.size()), 4);
  Put(b, 0, 4);
  Put(b, offset, 4);
  Put(b, 40, 4);
  Put(b, side, 4);
  Put(b, side, 4);
  Put(b, 1, 2);
  Put(b, 8, 2);
  Put(b, 1, 4);  // run-length, 8 bits
  Put(b, static_cast<uint32_t>(runs.size()), 4);
  Put(b, 0, 4);
  Put(b, 0, 4);
  Put(b, 256, 4);
  Put(b, 0, 4);
  b += std::string(1024, '\0');
  return b + runs;
}

std::string Load(const std::string& bytes, Surface* loaded = nullptr) {
  const std::string dir = MakeTempDir();
  const std::string path = dir + "/title.bmp";
  std::ofstream(path, std::ios::binary) << bytes;
  std::string message;
  try {
    const Surface surface = LoadBitmap(path);
    if (loaded) *loaded = surface;
  } catch (const FatalError& e) {
    message = e.what();
  }
  std::filesystem::remove_all(dir);
  return message;
}

TEST(SurfaceBitmapRegression, TinyRunLengthFileClaimingAHugePictureIsRefusedBeforeDecoding) {
  // 16384 x 16384 once made the loader allocate well over a gigabyte for a 1 KB file.
  const std::string message = Load(EmptyRunLengthBmp(16384));
  EXPECT_NE(message.find("title.bmp: picture too large (16384x16384)"), std::string::npos) << message;
}

TEST(SurfaceBitmapRegression, RunLengthPictureOfAScreenStillLoads) {
  Surface surface;
  EXPECT_EQ(Load(EmptyRunLengthBmp(640), &surface), "");
  EXPECT_EQ(surface.width, 640);
  EXPECT_EQ(surface.height, 640);
}

}  // namespace

}  // namespace brawl
