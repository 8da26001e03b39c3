#pragma once
#include <cstdint>
#include <vector>

#include "platform/net_address.h"

namespace brawl {

// Hosts answer who looks for games on the local network on this UDP port, shared by every host
// of a machine, with the port of their game.
constexpr int kLanPort = 47477;

// This machine's IPv4 addresses but loopback, each with `port`.
std::vector<NetAddress> LocalAddresses(uint16_t port);

// A waiting host's answer to searches: nothing when the port cannot be had (said once on
// stderr; the game is still reached by address).
class LanBeacon {
 public:
  explicit LanBeacon(uint16_t game_port);
  ~LanBeacon();
  LanBeacon(const LanBeacon&) = delete;
  LanBeacon& operator=(const LanBeacon&) = delete;
  // Answers every search that has arrived.
  void Answer();

 private:
  int fd_ = -1;
  uint16_t game_port_;
};

// Asks every local network (its broadcast address, and this machine) for waiting hosts.
class LanSearch {
 public:
  LanSearch();  // throws FatalError when no socket can be had
  ~LanSearch();
  LanSearch(const LanSearch&) = delete;
  LanSearch& operator=(const LanSearch&) = delete;
  void Ask();
  // The games that answered so far, each once, in the order they answered.
  const std::vector<NetAddress>& Found();

 private:
  int fd_ = -1;
  std::vector<NetAddress> own_;  // this machine's addresses
  std::vector<NetAddress> found_;
};

}  // namespace brawl
