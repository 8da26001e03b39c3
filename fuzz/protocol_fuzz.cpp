// What the network hands the game: any datagram decodes to one well-formed message or to none,
// and what decodes encodes back to the same bytes.
#include <cstdint>

#include "fuzz_checks.h"
#include "net/protocol.h"

// libFuzzer calls the entry point by its C name, outside our namespace.
using namespace brawl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<Message> message = Decode(data, size);
  if (!message) return 0;
  Require(message->inputs.size() <= kMaxInputsPerPacket, "a message carries a bounded number of commands");
  const std::vector<uint8_t> again = Encode(*message);
  Require(again.size() == size && std::equal(again.begin(), again.end(), data), "decoding loses nothing");
  return 0;
}
