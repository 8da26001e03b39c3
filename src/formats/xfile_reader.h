#pragma once
#include <string>
#include <string_view>

#include "formats/mesh.h"

namespace brawl {

// Reads a DirectX .x file in the text format: every mesh in it, gathered into one with the
// transforms of the frames around it applied. Binary and compressed files are refused.
// A file that cannot be read or is malformed throws FatalError "<what>: <path>: <reason>".
Mesh ReadXFile(const std::string& path, const std::string& what);
// The same over text already in memory; `path` only names it in errors.
Mesh ParseXFile(std::string_view text, const std::string& path, const std::string& what);

}  // namespace brawl
