#pragma once
#include <string>

namespace brawl {

// The application icon as a freedesktop hicolor theme under `folder`:
// SIZExSIZE/apps/<id>.png for each size the menus ask for.
void WriteIcons(const std::string& folder, const std::string& id);

}  // namespace brawl
