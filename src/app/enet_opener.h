#pragma once
#include "game/online_play.h"

namespace brawl {

// Opens the link over ENet as the plan says. The host waits on its port, asks the router to
// open it, answers searches of the local network and takes a game code from the rendezvous
// server; the joiner comes by address, by code through the server (the mapped port, the LAN,
// a punched hole or the relay), or by searching the local network.
OpenedLink OpenOverEnet(const OnlinePlan& plan, LinkWaiting& waiting);

}  // namespace brawl
