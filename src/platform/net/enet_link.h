#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/net_link.h"

namespace brawl {

// Called between tries to connect; false gives up.
using WhileWaiting = bool (*)(void* context);

// Who may take the other seat: the first caller whose first datagram `admits` within
// kSeatWaitMs of connecting (a caller that says nothing, or something else, is dropped and the
// seat stays open). Callers after that are sent `full` and let go.
struct Admission {
  bool (*admits)(const uint8_t* bytes, size_t size) = nullptr;
  std::vector<uint8_t> full;
};
constexpr int kSeatWaitMs = 2000;

// Waits on UDP `port` of every local address until a player has taken the seat, or until
// `give_up_ms` have passed or `waiting` gives up (nullptr then). The admitting datagram is the
// link's first to receive. Throws FatalError when the port cannot be opened.
std::unique_ptr<NetLink> HostOverEnet(int port, int give_up_ms, const Admission& admission,
                                      WhileWaiting waiting, void* context);
// Connects to `host` (a name or an IPv4 address) on `port`, trying afresh every half second
// so that a host started later is found at once; nullptr when nobody answers in
// `give_up_ms`. Throws FatalError when the name cannot be resolved.
std::unique_ptr<NetLink> JoinOverEnet(const std::string& host, int port, int give_up_ms, WhileWaiting waiting,
                                      void* context);

}  // namespace brawl
