#include "platform/net/local_network.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "base/fatal_error.h"
#include "base/i18n.h"

namespace brawl {

namespace {

// A search and its answer are the same size, so that a forged search makes no host send more
// than it was sent: "BRLN", version 1, kind (1 search, 2 answer), the game's port.
constexpr uint8_t kMagic[] = {'B', 'R', 'L', 'N', 1};
constexpr size_t kSize = 8;
enum : uint8_t { kSearch = 1, kAnswer = 2 };

std::vector<uint8_t> Message(uint8_t kind, uint16_t port) {
  std::vector<uint8_t> m(kMagic, kMagic + sizeof kMagic);
  m.push_back(kind);
  m.push_back(static_cast<uint8_t>(port));
  m.push_back(static_cast<uint8_t>(port >> 8));
  return m;
}

int Socket(uint16_t port, bool shared) {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const int on = 1;
  // Every host of the machine hears a broadcast search.
  if (shared) setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

sockaddr_in To(uint32_t ip, uint16_t port) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl(ip);
  to.sin_port = htons(port);
  return to;
}

// The next datagram of `kSize` bytes waiting, with its source; false when none is left.
bool Next(int fd, uint8_t (&bytes)[kSize], sockaddr_in& from) {
  for (;;) {
    socklen_t length = sizeof from;
    const ssize_t size = recvfrom(fd, bytes, kSize, MSG_TRUNC, reinterpret_cast<sockaddr*>(&from), &length);
    if (size < 0) return false;
    if (size == static_cast<ssize_t>(kSize) && std::equal(kMagic, kMagic + sizeof kMagic, bytes)) return true;
  }
}

}  // namespace

std::vector<NetAddress> LocalAddresses(uint16_t port) {
  std::vector<NetAddress> locals;
  ifaddrs* all = nullptr;
  if (getifaddrs(&all) != 0) return locals;
  for (const ifaddrs* i = all; i != nullptr; i = i->ifa_next) {
    if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET || (i->ifa_flags & IFF_LOOPBACK))
      continue;
    locals.push_back({ntohl(reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr), port});
  }
  freeifaddrs(all);
  return locals;
}

LanBeacon::LanBeacon(uint16_t game_port) : fd_(Socket(kLanPort, true)), game_port_(game_port) {
  if (fd_ < 0)
    std::fprintf(stderr,
                 _("brawl: warning: UDP port %d is taken: players on the local network will not find "
                   "this game by searching\n"),
                 kLanPort);
}

LanBeacon::~LanBeacon() {
  if (fd_ >= 0) close(fd_);
}

void LanBeacon::Answer() {
  uint8_t bytes[kSize];
  sockaddr_in from{};
  while (fd_ >= 0 && Next(fd_, bytes, from)) {
    if (bytes[sizeof kMagic] != kSearch) continue;
    const std::vector<uint8_t> answer = Message(kAnswer, game_port_);
    sendto(fd_, answer.data(), answer.size(), 0, reinterpret_cast<sockaddr*>(&from), sizeof from);
  }
}

LanSearch::LanSearch() : fd_(Socket(0, false)), own_(LocalAddresses(0)) {
  if (fd_ < 0)
    throw Fatal(_("network"), _("a UDP socket to search the local network"), _("cannot be opened"));
}

LanSearch::~LanSearch() {
  close(fd_);
}

void LanSearch::Ask() {
  std::vector<uint32_t> to = {INADDR_LOOPBACK};
  ifaddrs* all = nullptr;
  if (getifaddrs(&all) == 0) {
    for (const ifaddrs* i = all; i != nullptr; i = i->ifa_next) {
      if (i->ifa_addr == nullptr || i->ifa_netmask == nullptr || i->ifa_addr->sa_family != AF_INET ||
          !(i->ifa_flags & IFF_BROADCAST))
        continue;
      // Worked out from the netmask: an address set up by hand may have no broadcast address.
      const uint32_t ip = ntohl(reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr);
      const uint32_t mask = ntohl(reinterpret_cast<const sockaddr_in*>(i->ifa_netmask)->sin_addr.s_addr);
      if (mask != 0xFFFFFFFF) to.push_back(ip | ~mask);
    }
    freeifaddrs(all);
  }
  const std::vector<uint8_t> search = Message(kSearch, 0);
  for (uint32_t ip : to) {
    const sockaddr_in address = To(ip, kLanPort);
    sendto(fd_, search.data(), search.size(), 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  }
}

const std::vector<NetAddress>& LanSearch::Found() {
  uint8_t bytes[kSize];
  sockaddr_in from{};
  while (Next(fd_, bytes, from)) {
    NetAddress game{ntohl(from.sin_addr.s_addr), static_cast<uint16_t>(bytes[6] | bytes[7] << 8)};
    // A game on this machine answers on every network: one game.
    if (std::find(own_.begin(), own_.end(), NetAddress{game.ip, 0}) != own_.end()) game.ip = INADDR_LOOPBACK;
    if (bytes[sizeof kMagic] == kAnswer && game.port != 0 &&
        std::find(found_.begin(), found_.end(), game) == found_.end())
      found_.push_back(game);
  }
  return found_;
}

}  // namespace brawl
