#pragma once
#include <string>

#include "gfx/surface.h"

namespace brawl {

// Saves as PNG; throws FatalError naming the file.
void SavePng(const Surface& surface, const std::string& path);

}  // namespace brawl
