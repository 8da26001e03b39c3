// The rendezvous server fed any sequence of datagrams from a handful of sources, on both of its
// ports, with the clock moving: all it sends but what its relay forwards answers the datagram
// just handed to it, to its source and no longer than it, and it holds no more games than it
// may.
#include <algorithm>
#include <cstdint>

#include "fuzz_checks.h"
#include "rendezvous/rendezvous_server.h"

using namespace brawl;

namespace {

void Fixed(uint8_t* bytes, size_t count, void* context) {
  auto& state = *static_cast<uint32_t*>(context);
  for (size_t i = 0; i < count; ++i)
    bytes[i] = static_cast<uint8_t>((state = state * 1664525u + 1013904223u) >> 24);
}

}  // namespace

// Each datagram: a byte of source (low bits) and port (high bit), a byte of milliseconds
// passed, a byte of length, then the bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t random = 1;
  ServerLimits limits;
  limits.max_games = 8;
  limits.max_relayed = 2;
  RendezvousServer server(limits, Fixed, &random,
                          [](const std::string& line) { CheckOneLine(line.c_str()); });
  std::vector<ServerSend> out;
  int64_t now = 0;
  for (size_t at = 0; at + 3 <= size;) {
    const NetAddress from{0x0B000000u + (data[at] & 7u), static_cast<uint16_t>(1000 + (data[at] >> 3 & 3))};
    const bool relay = data[at] & 0x80;
    now += data[at + 1] * 10;
    const size_t length = std::min<size_t>(data[at + 2], size - at - 3);
    const uint8_t* bytes = data + at + 3;
    at += 3 + length;
    out.clear();
    relay ? server.OnRelay(from, bytes, length, now, out) : server.OnControl(from, bytes, length, now, out);
    server.Tick(now);
    size_t answered = 0;
    for (const ServerSend& s : out) {
      if (s.forwarded) continue;
      Require(s.to == from && s.relay == relay, "an answer goes back the way its question came");
      answered += s.bytes.size();
    }
    Require(answered <= length, "no answer is longer than its question");
    Require(server.games() <= limits.max_games, "the games stay within the table");
    Require(server.relayed() <= limits.max_relayed, "the relayed games stay within their limit");
  }
  return 0;
}
