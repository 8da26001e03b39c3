// What reaches the rendezvous port or a player's socket: any datagram decodes to one
// well-formed message or to none, what decodes encodes back to the same bytes, and no answer
// is longer than a request.
#include <cstdint>

#include "fuzz_checks.h"
#include "net/rendezvous_protocol.h"

using namespace brawl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::optional<RendezvousMessage> message = DecodeRendezvous(data, size);
  if (!message) return 0;
  Require(message->locals.size() <= kMaxLocalAddresses, "a message carries a bounded number of addresses");
  Require(IsGameCode(message->code) || message->code == GameCode{}, "a code is of the alphabet");
  const std::vector<uint8_t> again = EncodeRendezvous(*message);
  Require(again.size() == size && std::equal(again.begin(), again.end(), data), "decoding loses nothing");
  Require(size <= kRendezvousRequestSize, "no message is longer than a request");
  return 0;
}
