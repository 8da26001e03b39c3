#pragma once
#include <memory>

#include "platform/port_mapper.h"

namespace brawl {

// The home router through libminiupnpc (UPnP IGD) and libnatpmp (NAT-PMP).
std::unique_ptr<PortMapper> MakeRouterPortMapper();

}  // namespace brawl
