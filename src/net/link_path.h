#pragma once
#include <cstdint>

namespace brawl {

// How the two sides reached each other, as the dump names it: the joiner knows and tells the
// host in its hello.
enum class LinkPath : uint8_t { Direct = 1, Lan, Mapped, Punched, Relayed };

inline const char* PathName(LinkPath path) {
  switch (path) {
    case LinkPath::Direct:
      return "direct";
    case LinkPath::Lan:
      return "lan";
    case LinkPath::Mapped:
      return "mapped";
    case LinkPath::Punched:
      return "punched";
    case LinkPath::Relayed:
      return "relayed";
  }
  return "?";
}

}  // namespace brawl
