#pragma once
#include <string>

#include "gfx/surface.h"

namespace brawl {

// Any BMP that SDL reads, converted to RGB565. Throws FatalError naming the file.
Surface LoadBitmap(const std::string& path);

}  // namespace brawl
