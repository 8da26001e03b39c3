#pragma once
#include <memory>
#include <string>

#include "platform/net_link.h"

namespace brawl {

// Called between tries to connect; false gives up.
using WhileWaiting = bool (*)(void* context);

// Waits on UDP `port` of every local address until one player has connected, or until
// `give_up_ms` have passed or `waiting` gives up (nullptr then). Throws FatalError when the
// port cannot be opened.
std::unique_ptr<NetLink> HostOverEnet(int port, int give_up_ms, WhileWaiting waiting, void* context);
// Connects to `host` (a name or an IPv4 address) on `port`; nullptr when nobody answers in
// `give_up_ms`. Throws FatalError when the name cannot be resolved.
std::unique_ptr<NetLink> JoinOverEnet(const std::string& host, int port, int give_up_ms, WhileWaiting waiting,
                                      void* context);

}  // namespace brawl
