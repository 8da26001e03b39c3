#pragma once
#include <string>

#include "text.h"

namespace brawl {

// The title screen and its menu cursor. The cursor is copied opaque onto the title's
// menu panel, so its background is the panel's colour.
void WriteTitle(const std::string& folder, const Typeface& face);

}  // namespace brawl
