#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/link_path.h"
#include "net/rendezvous_code.h"
#include "platform/net_address.h"

namespace brawl {

// What the game says to the rendezvous server, and the two players say to each other while
// they look for a way through (docs/netplay.md). Every message starts with "BRZV", the
// version and the type; numbers are little-endian, an IPv4 address is its four bytes in
// dotted order. Requests are padded with zeros to kRendezvousRequestSize, which no answer
// exceeds, so that a spoofed request never makes the server send more than it received.
constexpr uint8_t kRendezvousVersion = 1;
constexpr int kRendezvousPort = 47475;  // the relay listens on the next port
constexpr size_t kRendezvousRequestSize = 64;
constexpr int kMaxLocalAddresses = 4;

// "a.b.c.d" or "a.b.c.d:port" (`default_port` when none); nothing when it is anything else.
std::optional<NetAddress> ParseNetAddress(std::string_view text, uint16_t default_port);

enum class RendezvousType : uint8_t {
  Register = 1,  // host -> server: nonce, mapped, locals
  Registered,    // server -> host: nonce, token, code, public_address, lifetime_s
  Join,          // joiner -> server: nonce, code, locals
  Introduce,     // server -> each side: nonce, token, side, the other's public_address, mapped, locals
  Ready,         // each side -> server, at once on Introduce: token, side
  Punch,         // server -> each side: token, delay_ms (punch that long after it arrives)
  Alive,         // host -> server while it waits: token
  Probe,         // side -> side: token, side, probe, path, stamp
  RelayBind,     // side -> the relay port: token, side
  RelayBound,    // relay -> side: token, side
  Error,         // server -> side: nonce (the request's nonce or token), error
};

enum class RendezvousError : uint8_t {
  NoGame = 1,  // no game with that code (unknown or expired)
  Taken,       // the game already has two players
  Full,        // the server has no room for another game now
};

enum class Side : uint8_t { Host = 1, Joiner = 2 };

enum class ProbeKind : uint8_t {
  Ask = 0,     // are you there?
  Answer = 1,  // yes: the stamp of the ask, echoed
  Chosen = 2,  // the joiner takes this way (`path`)
  Agreed = 3,  // the host knows: the stamp of the Chosen, echoed
};

struct RendezvousMessage {
  RendezvousType type = RendezvousType::Error;
  uint64_t nonce = 0;
  uint64_t token = 0;
  GameCode code;
  NetAddress public_address;
  NetAddress mapped;  // ip 0: none
  std::vector<NetAddress> locals;
  Side side = Side::Host;
  uint16_t lifetime_s = 0;
  uint16_t delay_ms = 0;
  ProbeKind probe = ProbeKind::Ask;
  LinkPath path = LinkPath::Direct;
  uint32_t stamp = 0;
  RendezvousError error = RendezvousError::NoGame;
};

inline RendezvousMessage RendezvousOf(RendezvousType type) {
  RendezvousMessage m;
  m.type = type;
  return m;
}

// Whether a message of this type is a request, padded to kRendezvousRequestSize.
bool IsRendezvousRequest(RendezvousType type);

std::vector<uint8_t> EncodeRendezvous(const RendezvousMessage& message);
// The message `bytes` hold, or nothing when they are not exactly one well-formed message of
// this version.
std::optional<RendezvousMessage> DecodeRendezvous(const uint8_t* bytes, size_t size);

}  // namespace brawl
