#pragma once
#include <string>

namespace brawl {

// Writes the bytes to the file, replacing it. Throws naming the file and the reason.
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace brawl
