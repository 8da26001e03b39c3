#pragma once
// Whole numbers in and out of a datagram, least significant byte first, as both of the
// game's protocols write them.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace brawl {

struct WireWriter {
  std::vector<uint8_t> out;
  void Put(uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
};

// Reading past the end gives 0 and leaves `ok` false, so a message is checked once at its end.
struct WireReader {
  const uint8_t* at;
  size_t left;
  bool ok = true;
  uint64_t Get(int bytes) {
    if (left < static_cast<size_t>(bytes)) {
      ok = false;
      return 0;
    }
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(at[i]) << (8 * i);
    at += bytes;
    left -= static_cast<size_t>(bytes);
    return value;
  }
};

}  // namespace brawl
