// One player's side of the rendezvous in the lab, over a plain UDP socket: what the game will
// do through its own socket, without the game.
//
//   lab_peer host SERVER [--port P] [--map] [--no-low-ttl]   register, print the code, meet the joiner
//   lab_peer join SERVER CODE [--port P] [--pings N] [--no-low-ttl]
//   lab_peer publics SERVER1 SERVER2 [--port P]  how two servers see this socket
//   lab_peer flood SERVER SECONDS                requests and noise as fast as it can
//   lab_peer send ADDRESS:PORT TEXT              one datagram
//
// Lines on stdout: "code XXXX-XXXX", "mapped ADDRESS:PORT by HOW", "connected PATH to ADDRESS after MS ms",
// "round trip US us (median of N)", "public ADDRESS"; a failure is "failed: why", status 3.
#include <ifaddrs.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/random.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "net/rendezvous_client.h"
#include "platform/router/router_port_mapper.h"
#include "rendezvous/udp_socket.h"

using namespace brawl;

namespace {

int64_t NowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int64_t NowMs() {
  return NowUs() / 1000;
}

uint64_t Random64() {
  uint64_t value = 0;
  while (getrandom(&value, sizeof value, 0) != sizeof value) {
  }
  return value;
}

NetAddress Address(const char* text, uint16_t port) {
  const std::optional<NetAddress> a = ParseNetAddress(text, port);
  if (!a) {
    std::fprintf(stderr, "lab_peer: not an address: %s\n", text);
    std::exit(2);
  }
  return *a;
}

std::vector<NetAddress> LocalAddresses(uint16_t port) {
  std::vector<NetAddress> locals;
  ifaddrs* all = nullptr;
  if (getifaddrs(&all) != 0) return locals;
  for (ifaddrs* i = all; i != nullptr; i = i->ifa_next) {
    if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET) continue;
    const uint32_t ip = ntohl(reinterpret_cast<sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr);
    if ((ip >> 24) != 127 && locals.size() < kMaxLocalAddresses) locals.push_back({ip, port});
  }
  freeifaddrs(all);
  return locals;
}

void SendAll(UdpSocket& socket, std::vector<RendezvousSend>& out) {
  for (const RendezvousSend& s : out) socket.SendTo(s.to, s.bytes.data(), s.bytes.size(), s.ttl);
  out.clear();
}

// Runs the client until `done` or `seconds`; every datagram goes through it.
template <typename Done>
void Drive(UdpSocket& socket, RendezvousClient& client, int seconds, Done done) {
  std::vector<RendezvousSend> out;
  uint8_t buffer[2048];
  for (const int64_t end = NowMs() + seconds * 1000; NowMs() < end && !done();) {
    client.Tick(NowMs(), out);
    SendAll(socket, out);
    pollfd p{socket.fd(), POLLIN, 0};
    poll(&p, 1, 5);
    NetAddress from;
    for (long size; (size = socket.Receive(from, buffer, sizeof buffer)) >= 0;) {
      if (size <= static_cast<long>(sizeof buffer))
        client.Take(from, buffer, static_cast<size_t>(size), NowMs(), out);
      SendAll(socket, out);
    }
  }
}

int Meet(RendezvousClient::Setup setup, UdpSocket& socket, int pings) {
  const int64_t started = NowUs();
  RendezvousClient client(setup);
  bool shown = false;
  Drive(socket, client, 60, [&] {
    if (!shown && client.phase() == RendezvousClient::Phase::Waiting) {
      std::printf("code %s\n", FormatGameCode(client.code()).c_str());
      std::fflush(stdout);
      shown = true;
    }
    return client.phase() == RendezvousClient::Phase::Connected ||
           client.phase() == RendezvousClient::Phase::Failed;
  });
  if (client.phase() != RendezvousClient::Phase::Connected) {
    std::printf("failed: %s\n",
                client.failure().empty() ? "nothing happened in 60 s" : client.failure().c_str());
    return 3;
  }
  std::printf("connected %s to %s after %.1f ms\n", PathName(client.path()),
              AddressText(client.peer()).c_str(), static_cast<double>(NowUs() - started) / 1000.0);
  std::fflush(stdout);
  // The joiner measures the round trip in microseconds; the host answers until the joiner has
  // had its answers.
  std::vector<int64_t> trips;
  int64_t next = 0;
  std::optional<uint32_t> seen;
  std::vector<RendezvousSend> out;
  const int seconds = setup.side == Side::Joiner ? 20 : 5;
  Drive(socket, client, seconds, [&] {
    if (setup.side == Side::Host) return false;
    const std::optional<uint32_t> answered = client.answered_stamp();
    if (answered != seen && answered) {
      seen = answered;
      trips.push_back(static_cast<uint32_t>(NowUs()) - *answered);
    }
    if (NowMs() >= next) {
      client.Ping(static_cast<uint32_t>(NowUs()), out);
      SendAll(socket, out);
      next = NowMs() + 20;
    }
    return static_cast<int>(trips.size()) >= pings;
  });
  if (!trips.empty()) {
    std::sort(trips.begin(), trips.end());
    std::printf("round trip %lld us (median of %zu)\n", static_cast<long long>(trips[trips.size() / 2]),
                trips.size());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: lab_peer host|join|publics|flood SERVER ...\n");
    return 2;
  }
  const std::string mode = argv[1];
  uint16_t port = 0;
  int pings = 20;
  bool map = false, low_ttl = true;
  std::vector<const char*> words;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--port" && i + 1 < argc) {
      port = static_cast<uint16_t>(std::atoi(argv[++i]));
    } else if (arg == "--pings" && i + 1 < argc) {
      pings = std::atoi(argv[++i]);
    } else if (arg == "--map") {
      map = true;
    } else if (arg == "--no-low-ttl") {
      low_ttl = false;
    } else {
      words.push_back(argv[i]);
    }
  }
  try {
    UdpSocket socket(port);
    const NetAddress server = Address(words[0], kRendezvousPort);
    if (mode == "flood" && words.size() == 2) {
      // Requests that each claim a game, and noise, from this one address as fast as it can.
      const int64_t end = NowMs() + std::atoi(words[1]) * 1000;
      int64_t sent = 0;
      RendezvousMessage m = RendezvousOf(RendezvousType::Register);
      uint8_t noise[300] = {};
      while (NowMs() < end) {
        m.nonce = Random64();
        const std::vector<uint8_t> bytes = EncodeRendezvous(m);
        socket.SendTo(server, bytes.data(), bytes.size());
        socket.SendTo(server, noise, static_cast<size_t>(sent % 300));
        sent += 2;
      }
      std::printf("flooded with %lld datagrams\n", static_cast<long long>(sent));
      return 0;
    }
    if (mode == "send" && words.size() == 2) {
      const bool sent =
          socket.SendTo(server, reinterpret_cast<const uint8_t*>(words[1]), std::strlen(words[1]));
      return sent ? 0 : 1;
    }
    if (mode == "publics" && words.size() == 2) {
      for (const char* text : words) {
        RendezvousClient::Setup setup;
        setup.server = Address(text, kRendezvousPort);
        setup.nonce = Random64();
        RendezvousClient client(setup);
        Drive(socket, client, 5, [&] { return client.phase() != RendezvousClient::Phase::Asking; });
        std::printf("public %s\n", AddressText(client.public_address()).c_str());
      }
      return 0;
    }
    RendezvousClient::Setup setup;
    setup.server = server;
    setup.nonce = Random64();
    setup.locals = LocalAddresses(socket.port());
    if (!low_ttl) {
      setup.timing.low_ttl_probes = 0;
      setup.timing.full_ttl_after_ms = 0;
    }
    std::unique_ptr<PortMapper> mapper;
    if (mode == "host" && words.size() == 1) {
      setup.side = Side::Host;
      if (map) {
        mapper = MakeRouterPortMapper();
        const PortMapping mapping = mapper->Map(socket.port(), 600);
        if (mapping.mapped) {
          setup.mapped =
              Address(mapping.public_address.c_str(), static_cast<uint16_t>(mapping.external_port));
          std::printf("mapped %s by %s\n", AddressText(setup.mapped).c_str(), mapping.how.c_str());
        } else {
          std::printf("not mapped: %s\n", mapping.why_not.c_str());
        }
      }
      return Meet(setup, socket, pings);
    }
    if (mode == "join" && words.size() == 2) {
      setup.side = Side::Joiner;
      const std::optional<GameCode> code = ParseGameCode(words[1]);
      if (!code) {
        std::fprintf(stderr, "lab_peer: not a game code: %s\n", words[1]);
        return 2;
      }
      setup.code = *code;
      return Meet(setup, socket, pings);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lab_peer: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "lab_peer: bad command line\n");
  return 2;
}
