#pragma once
#include <string>

namespace brawl {

// The arena's textures. They are drawn light and nearly grey: the mesh's material colours
// tint them, so one floor tile serves both checks.
inline constexpr const char* kFloorTexture = "floor.bmp";
inline constexpr const char* kBorderTexture = "border.bmp";
inline constexpr const char* kKerbTexture = "kerb.bmp";
inline constexpr const char* kGrassTexture = "grass.bmp";
inline constexpr const char* kWallTexture = "wall.bmp";

void WriteTextures(const std::string& folder);

}  // namespace brawl
