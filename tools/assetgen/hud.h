#pragma once
#include <string>

#include "text.h"

namespace brawl {

// The life bar and the two winner banners. Both are copied opaque, so every pixel of
// them is meant to be seen.
void WriteHud(const std::string& folder, const Typeface& face);

}  // namespace brawl
