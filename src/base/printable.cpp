#include "base/printable.h"

namespace brawl {

std::string Printable(std::string_view bytes, size_t limit) {
  std::string shown;
  for (char c : bytes.substr(0, limit)) shown += (c >= 0x20 && c < 0x7f) ? c : '?';
  if (bytes.size() > limit) shown += "...";
  return shown;
}

}  // namespace brawl
