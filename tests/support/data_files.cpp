#include "support/data_files.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "support/run_brawl.h"

namespace brawl {

const char* const kDataFiles[24] = {"env.ini",    "title.bmp",  "Cursor.bmp",  "lifebar.bmp",  "1pwin.bmp",
                                    "2pwin.bmp",  "m001.bmp",   "m002.bmp",    "bullet01.bmp", "bullet02.bmp",
                                    "blood.bmp",  "back1.x",    "readygo.wav", "fire.wav",     "ogaa.wav",
                                    "title0.wav", "title1.wav", "title2.wav",  "title3.wav",   "floor.bmp",
                                    "border.bmp", "kerb.bmp",   "grass.bmp",   "wall.bmp"};

std::string CopyOfDataFolder() {
  const std::string folder = MakeTempDir() + "/";
  for (const char* name : kDataFiles) std::filesystem::copy_file(BuildDir() + "/" + name, folder + name);
  return folder;
}

namespace {

void Put(std::string& bytes, size_t at, uint32_t value, int n) {
  for (int i = 0; i < n; ++i)
    bytes[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

void WriteBmp(const std::string& path, int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  const int row = (width * 3 + 3) & ~3;
  const uint32_t size = 54 + static_cast<uint32_t>(row * height);
  std::string bytes(size, '\0');
  bytes[0] = 'B', bytes[1] = 'M';
  Put(bytes, 2, size, 4);
  Put(bytes, 10, 54, 4);
  Put(bytes, 14, 40, 4);
  Put(bytes, 18, static_cast<uint32_t>(width), 4);
  Put(bytes, 22, static_cast<uint32_t>(height), 4);
  Put(bytes, 26, 1, 2);
  Put(bytes, 28, 24, 2);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t at = 54 + static_cast<size_t>(y * row + x * 3);
      bytes[at] = static_cast<char>(b), bytes[at + 1] = static_cast<char>(g),
      bytes[at + 2] = static_cast<char>(r);
    }
  }
  std::ofstream(path, std::ios::binary) << bytes;
}

void WriteWave(const std::string& path, uint32_t frames, uint32_t rate) {
  std::string bytes(44 + 2 * static_cast<size_t>(frames), '\0');
  bytes.replace(0, 4, "RIFF");
  Put(bytes, 4, 36 + 2 * frames, 4);
  bytes.replace(8, 8, "WAVEfmt ");
  Put(bytes, 16, 16, 4);
  Put(bytes, 20, 1, 2);  // PCM
  Put(bytes, 22, 1, 2);  // mono
  Put(bytes, 24, rate, 4);
  Put(bytes, 28, 2 * rate, 4);
  Put(bytes, 32, 2, 2);
  Put(bytes, 34, 16, 2);
  bytes.replace(36, 4, "data");
  Put(bytes, 40, 2 * frames, 4);
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace brawl
