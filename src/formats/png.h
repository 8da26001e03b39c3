#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/surface.h"

namespace brawl {

// Saves as PNG; throws FatalError naming the file.
void SavePng(const Surface& surface, const std::string& path);

// A picture with its transparency: four bytes a pixel (red, green, blue, alpha), row by row.
struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bytes;
};
// Reads a PNG (the application icon); throws FatalError naming the file.
RgbaPicture LoadPngRgba(const std::string& path);

}  // namespace brawl
