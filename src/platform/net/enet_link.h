#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/net_address.h"
#include "platform/net_link.h"

namespace brawl {

// Called between tries to connect; false gives up.
using WhileWaiting = bool (*)(void* context);

// Datagrams of other protocols that arrive at the link's UDP port (the rendezvous): they are
// handed here before the link sees them. It lives as long as the port.
class SideChannel {
 public:
  virtual ~SideChannel() = default;
  // True when the datagram was this channel's: the link never sees it.
  virtual bool Take(const NetAddress& from, const uint8_t* bytes, size_t size) = 0;
};

// The game's UDP port, open before the other player is found, so that the rendezvous speaks
// from the port the game will use: the router has seen it, the server knows it.
class LinkPort {
 public:
  virtual ~LinkPort() = default;
  virtual uint16_t Port() const = 0;
  // A datagram beside the link's own; `ttl` 0 leaves the socket's.
  virtual void SendRaw(const NetAddress& to, const std::vector<uint8_t>& bytes, int ttl) = 0;
  // From now on what is not the link's goes to `channel`, which the port (and then the link)
  // keeps until it closes.
  virtual void Attach(std::unique_ptr<SideChannel> channel) = 0;
  // Takes in what arrived, waiting up to `wait_ms` for something: before there is a link.
  virtual void Pump(int wait_ms) = 0;
};

// UDP `port` of every local address (0: any free port). Throws FatalError when it cannot be
// opened.
std::unique_ptr<LinkPort> OpenEnetPort(int port);

// The IPv4 address of `name` (a name or dotted digits) with `port`. Throws FatalError naming
// `name:port` when there is none.
NetAddress ResolveHost(const std::string& name, int port);

// Who may take the other seat: the first caller whose first datagram `admits` within
// kSeatWaitMs of connecting (a caller that says nothing, or something else, is dropped and the
// seat stays open). Callers after that are sent `full` and let go.
struct Admission {
  bool (*admits)(const uint8_t* bytes, size_t size) = nullptr;
  std::vector<uint8_t> full;
};
constexpr int kSeatWaitMs = 2000;

// Waits on `port` until a player has taken the seat, or until `give_up_ms` have passed or
// `waiting` gives up (nullptr then). The admitting datagram is the link's first to receive.
std::unique_ptr<NetLink> HostOverEnet(std::unique_ptr<LinkPort> port, int give_up_ms,
                                      const Admission& admission, WhileWaiting waiting, void* context);
// Connects from `port` to `host`, trying afresh every half second so that a host started later
// is found at once; nullptr when nobody answers in `give_up_ms`.
std::unique_ptr<NetLink> JoinOverEnet(std::unique_ptr<LinkPort> port, const NetAddress& host, int give_up_ms,
                                      WhileWaiting waiting, void* context);

}  // namespace brawl
