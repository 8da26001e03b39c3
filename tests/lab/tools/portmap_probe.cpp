// The port mapper against a real router in the lab: maps UDP PORT, renews once, tells what
// arrives at the port, and removes the mapping when a stop signal ends it.
//
//   portmap_probe PORT LEASE_S
//
// Lines on stdout: "mapped PORT at ADDRESS:EXTERNAL by HOW, lease N s" or "not mapped: why",
// "renewed" or "not renewed", "heard TEXT", "removed".
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/router/port_mapping_keeper.h"
#include "platform/router/router_port_mapper.h"
#include "platform/stop_signals.h"
#include "rendezvous/udp_socket.h"

using namespace brawl;

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: portmap_probe PORT LEASE_S\n");
    return 2;
  }
  const int port = std::atoi(argv[1]), lease = std::atoi(argv[2]);
  InstallStopSignals();
  UdpSocket socket(static_cast<uint16_t>(port));
  {
    PortMappingKeeper keeper(MakeRouterPortMapper(), port, lease);
    std::optional<PortMapping> result;
    while (!(result = keeper.Result()) && StopSignal() == 0) {
      pollfd p{socket.fd(), POLLIN, 0};
      poll(&p, 1, 10);
    }
    if (!result) return 0;
    if (!result->mapped) {
      std::printf("not mapped: %s\n", result->why_not.c_str());
      return 0;
    }
    std::printf("mapped %d at %s:%d by %s, lease %d s\n", port, result->public_address.c_str(),
                result->external_port, result->how.c_str(), result->lease_s);
    std::fflush(stdout);
    int renewals = 0;
    // Until a stop signal: what arrives through the router, and each renewal.
    while (StopSignal() == 0) {
      pollfd p{socket.fd(), POLLIN, 0};
      if (poll(&p, 1, 20) > 0) {
        uint8_t buffer[256];
        NetAddress from;
        const long size = socket.Receive(from, buffer, sizeof buffer - 1);
        if (size > 0) {
          std::printf("heard %.*s\n", static_cast<int>(size), reinterpret_cast<char*>(buffer));
          std::fflush(stdout);
        }
      }
      if (keeper.Renewals() != renewals) {
        renewals = keeper.Renewals();
        std::printf("renewed\n");
        std::fflush(stdout);
      }
    }
  }
  std::printf("removed\n");
  return 0;
}
