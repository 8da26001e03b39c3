#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace brawl {

// Bytes from a file as a one-line message may show them: anything unprintable as '?', and
// cut at `limit` characters with "..." after, so a damaged file cannot fill the screen.
std::string Printable(std::string_view bytes, size_t limit = 40);

}  // namespace brawl
