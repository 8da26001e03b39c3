#pragma once
#include <string>

namespace brawl {

// What the home router said when asked to forward a UDP port to this machine.
struct PortMapping {
  bool mapped = false;
  std::string how;             // "UPnP" or "NAT-PMP"
  std::string public_address;  // the router's public IPv4 address, "203.0.113.5"
  int external_port = 0;       // the port others reach, which the router may have chosen
  int lease_s = 0;             // how long the router keeps it without a renewal; 0: until removed
  std::string why_not;         // when not mapped, one line: "no router answered within 2 s"
};

// Opens the host's UDP port on the home router for the time of a game: UPnP IGD first, then
// NAT-PMP. Whatever it mapped it removes on Remove and when destroyed.
class PortMapper {
 public:
  virtual ~PortMapper() = default;
  // Asks the router to forward UDP `port` here for `lease_s` seconds. Takes about 2 s at most
  // when no router answers.
  virtual PortMapping Map(int port, int lease_s) = 0;
  // Asks again for the same mapping; false when the router no longer agrees.
  virtual bool Renew() = 0;
  // Takes the mapping back; nothing when there is none.
  virtual void Remove() = 0;
};

}  // namespace brawl
