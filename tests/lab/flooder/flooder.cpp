// The lab's flooder: for SECONDS, as fast as it can, requests that each claim a game at the
// rendezvous server ADDRESS[:PORT], and noise between them. Says how many it sent.
#include <sys/random.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "rendezvous/udp_socket.h"

int main(int argc, char** argv) {
  using namespace brawl;
  const std::optional<NetAddress> server = argc == 3 ? ParseNetAddress(argv[1], kRendezvousPort) : std::nullopt;
  if (!server) {
    std::fprintf(stderr, "usage: flooder ADDRESS[:PORT] SECONDS\n");
    return 2;
  }
  UdpSocket socket(0);
  RendezvousMessage claim = RendezvousOf(RendezvousType::Register);
  const uint8_t noise[300] = {};
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[2]));
  size_t sent = 0;
  for (; std::chrono::steady_clock::now() < end; ++sent) {
    if (getrandom(&claim.nonce, sizeof claim.nonce, 0) != sizeof claim.nonce) ++claim.nonce;  // any other will do
    const std::vector<uint8_t> bytes = EncodeRendezvous(claim);
    socket.SendTo(*server, bytes.data(), bytes.size());
    socket.SendTo(*server, noise, sent % sizeof noise);
  }
  std::printf("flooder: %zu requests\n", sent);
  return 0;
}
