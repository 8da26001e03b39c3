#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/fatal_error.h"
#include "platform/surface.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

namespace fs = std::filesystem;

void Put16(std::string& b, uint32_t v) {
  b += char(v & 0xFF);
  b += char((v >> 8) & 0xFF);
}
void Put32(std::string& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// A Windows BMP with a 40-byte header. `rows` are given top row first, as bytes per row
// without padding; `height` < 0 stores them top-down.
std::string Bmp(int width, int height, int bits, const std::vector<std::string>& rows,
                const std::vector<uint32_t>& palette = {}) {
  std::string pixels;
  const size_t stride = (size_t(width) * bits + 31) / 32 * 4;
  for (size_t i = 0; i < rows.size(); ++i) {
    std::string row = rows[height > 0 ? rows.size() - 1 - i : i];
    row.resize(stride, '\0');
    pixels += row;
  }
  const uint32_t offset = 14 + 40 + 4 * uint32_t(palette.size());
  std::string b = "BM";
  Put32(b, offset + uint32_t(pixels.size()));
  Put32(b, 0);
  Put32(b, offset);
  Put32(b, 40);
  Put32(b, uint32_t(width));
  Put32(b, uint32_t(height));
  Put16(b, 1);
  Put16(b, uint32_t(bits));
  Put32(b, 0);
  Put32(b, uint32_t(pixels.size()));
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, uint32_t(palette.size()));
  Put32(b, 0);
  for (uint32_t c : palette) Put32(b, c);
  return b + pixels;
}

std::string Bgr(uint32_t rgb) {
  return {char(rgb & 0xFF), char((rgb >> 8) & 0xFF), char((rgb >> 16) & 0xFF)};
}

class SurfaceBitmap : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = MakeTempDir(); }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = dir_ + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::string dir_;
};

uint16_t At(const Surface& s, int x, int y) {
  return s.pixels.at(static_cast<size_t>(y * s.width + x));
}

TEST_F(SurfaceBitmap, Reads24BitPicturesBottomUpAndTopDown) {
  const std::vector<std::string> rows = {Bgr(0xFF0000) + Bgr(0x00FF00) + Bgr(0x0000FF),
                                         Bgr(0xFFFFFF) + Bgr(0x000000) + Bgr(0x7070E0)};
  for (int height : {2, -2}) {
    const Surface s = LoadBitmap(Write("rgb.bmp", Bmp(3, height, 24, rows)));
    ASSERT_EQ(s.width, 3);
    ASSERT_EQ(s.height, 2);
    EXPECT_EQ(At(s, 0, 0), Rgb565(0xFF0000));
    EXPECT_EQ(At(s, 1, 0), Rgb565(0x00FF00));
    EXPECT_EQ(At(s, 2, 0), Rgb565(0x0000FF));
    EXPECT_EQ(At(s, 0, 1), Rgb565(0xFFFFFF));
    EXPECT_EQ(At(s, 1, 1), 0);
    EXPECT_EQ(At(s, 2, 1), Rgb565(0x7070E0));
    EXPECT_FALSE(s.has_color_key);
  }
}

TEST_F(SurfaceBitmap, ReadsPalettedAnd32BitPictures) {
  const Surface indexed = LoadBitmap(
      Write("pal.bmp", Bmp(4, 1, 8, {std::string("\x00\x01\x02\x01", 4)}, {0x000000, 0xFF8000, 0x123456})));
  ASSERT_EQ(indexed.width, 4);
  EXPECT_EQ(At(indexed, 0, 0), 0);
  EXPECT_EQ(At(indexed, 1, 0), Rgb565(0xFF8000));
  EXPECT_EQ(At(indexed, 2, 0), Rgb565(0x123456));
  EXPECT_EQ(At(indexed, 3, 0), Rgb565(0xFF8000));
  const Surface wide =
      LoadBitmap(Write("32.bmp", Bmp(2, 1, 32, {Bgr(0x00FFFF) + '\xFF' + Bgr(0xFF00FF) + '\xFF'})));
  EXPECT_EQ(At(wide, 0, 0), Rgb565(0x00FFFF));
  EXPECT_EQ(At(wide, 1, 0), Rgb565(0xFF00FF));
}

TEST_F(SurfaceBitmap, EveryDamagedCopyIsReadOrRefusedWithItsName) {
  const std::vector<std::string> originals = {
      Bmp(5, 3, 24, std::vector<std::string>(3, std::string(15, '\x33'))),
      Bmp(6, -2, 8, {std::string("\x00\x01\x02\x03\x01\x00", 6), std::string(6, '\x02')},
          {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}),
      Bmp(9, 2, 1, {std::string("\xA5\x80", 2), std::string("\x5A\x00", 2)}, {0x000000, 0xFFFFFF}),
  };
  int refused = 0, read = 0;
  auto attempt = [&](const std::string& bytes) {
    // A new file each time: rewriting one file waits for the disk.
    const std::string path = Write("damaged" + std::to_string(read + refused) + ".bmp", bytes);
    try {
      const Surface s = LoadBitmap(path);
      ASSERT_EQ(s.pixels.size(), static_cast<size_t>(s.width) * static_cast<size_t>(s.height));
      ++read;
    } catch (const FatalError& e) {
      const std::string message = e.what();
      ASSERT_EQ(message.rfind("bitmap: " + path + ": ", 0), 0u) << message;
      ASSERT_EQ(message.find('\n'), std::string::npos) << message;
      ++refused;
    }
  };
  for (const std::string& original : originals) {
    for (size_t length = 0; length < original.size(); ++length) attempt(original.substr(0, length));
    const size_t header = std::min<size_t>(original.size(), 54 + 16);
    for (size_t at = 0; at < header; ++at)
      for (char value : {'\x00', '\x01', '\x7F', '\x80', '\xFF'}) {
        std::string damaged = original;
        damaged[at] = value;
        attempt(damaged);
      }
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(read, 0);
}

}  // namespace

}  // namespace brawl
