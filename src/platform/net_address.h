#pragma once
#include <cstdint>
#include <string>

namespace brawl {

// An IPv4 address and UDP port, as the game's messages carry them.
struct NetAddress {
  uint32_t ip = 0;  // a.b.c.d as (a << 24) | (b << 16) | (c << 8) | d
  uint16_t port = 0;
  friend bool operator==(const NetAddress&, const NetAddress&) = default;
};

// "192.0.2.7:47474".
inline std::string AddressText(const NetAddress& a) {
  return std::to_string(a.ip >> 24) + "." + std::to_string((a.ip >> 16) & 0xFF) + "." +
         std::to_string((a.ip >> 8) & 0xFF) + "." + std::to_string(a.ip & 0xFF) + ":" +
         std::to_string(a.port);
}

}  // namespace brawl
