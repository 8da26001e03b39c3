#pragma once
#include <cstdint>
#include <string>

#include "support/run_brawl.h"

namespace brawl {

// The data files under test are the ones the build wrote beside the game.
inline std::string DataFile(const std::string& name) {
  return BuildDir() + "/" + name;
}

struct Rgb8 {
  int r, g, b;
};

inline Rgb8 Channels(uint16_t pixel) {
  return {((pixel >> 11) & 31) * 255 / 31, ((pixel >> 5) & 63) * 255 / 63, (pixel & 31) * 255 / 31};
}

}  // namespace brawl
