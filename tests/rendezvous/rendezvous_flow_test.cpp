// The server and two clients in memory, on a make-believe internet whose routers are rules:
// every way a host and a joiner can meet ends with the path it should, an unknown or spent
// code is refused, and the server only answers, never more than it was sent.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "net/rendezvous_client.h"
#include "rendezvous/rendezvous_server.h"

namespace brawl {
namespace {

constexpr NetAddress kServer{0x0B000001, kRendezvousPort};  // 11.0.0.1
constexpr NetAddress kRelay{kServer.ip, kRendezvousPort + 1};

void Counting(uint8_t* bytes, size_t count, void* context) {
  auto& random = *static_cast<std::mt19937_64*>(context);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(random());
}

// One side: its address on its LAN, and what its router shows the world.
struct Machine {
  NetAddress local, public_address;
  NetAddress mapped;  // a port the router forwards; ip 0: none
};

// How the routers between the two sides behave.
enum class Routers {
  None,        // the host has no router at all
  OneLan,      // both sit behind one router
  Forwarding,  // the host's router forwards a mapped port
  Cone,        // each router lets in what answers a datagram its side sent first
  Symmetric,   // nothing gets through from side to side
};

struct World {
  World(Routers r, const Machine& h, const Machine& j) : routers(r), host(h), joiner(j) {}
  Routers routers;
  Machine host, joiner;
  std::mt19937_64 random{7};
  std::vector<std::string> log;
  RendezvousServer server{ServerLimits{}, Counting, &random,
                          [this](const std::string& l) { log.push_back(l); }};
  std::vector<NetAddress> opened[2];  // where each side's router has let datagrams out
  int64_t now = 0;

  // Delivers what side `from` sends; returns the bytes the server sent back to it.
  void Deliver(int from, const RendezvousSend& send, RendezvousClient* clients[2]) {
    const Machine& me = from == 0 ? host : joiner;
    const Machine& other = from == 0 ? joiner : host;
    std::vector<ServerSend> answers;
    if (send.to == kServer) {
      server.OnControl(me.public_address, send.bytes.data(), send.bytes.size(), now, answers);
    } else if (send.to == kRelay) {
      server.OnRelay(me.public_address, send.bytes.data(), send.bytes.size(), now, answers);
    } else {
      opened[from].push_back(send.to);
      if (send.ttl != 0) return;  // dies between the routers
      // A router lets in what answers a datagram its side sent out first.
      const std::vector<NetAddress>& out_there = opened[1 - from];
      const bool to_mapped =
          me.mapped.ip != 0 && std::count(out_there.begin(), out_there.end(), me.mapped) > 0;
      const bool answering =
          to_mapped || std::count(out_there.begin(), out_there.end(), me.public_address) > 0;
      bool arrives = send.to == other.mapped;
      NetAddress source = to_mapped ? me.mapped : me.public_address;
      if (send.to == other.public_address)
        arrives = routers == Routers::None || (routers != Routers::Symmetric && answering);
      if (send.to == other.local && routers == Routers::OneLan) {
        arrives = true;
        source = me.local;
      }
      if (arrives) Hand(1 - from, source, send.bytes, clients);
      return;
    }
    for (const ServerSend& a : answers) {
      const NetAddress source = a.relay ? kRelay : kServer;
      if (a.to == host.public_address) Hand(0, source, a.bytes, clients);
      if (a.to == joiner.public_address) Hand(1, source, a.bytes, clients);
    }
  }

  void Hand(int to, const NetAddress& from, const std::vector<uint8_t>& bytes, RendezvousClient* clients[2]) {
    if (clients[to] == nullptr) return;
    std::vector<RendezvousSend> out;
    ASSERT_TRUE(clients[to]->Take(from, bytes.data(), bytes.size(), now, out));
    for (const RendezvousSend& s : out) Deliver(to, s, clients);
  }

  // Steps both clients 10 ms at a time until `done` or `seconds` pass.
  void Run(RendezvousClient* clients[2], int seconds, const std::function<bool()>& done) {
    for (const int64_t end = now + seconds * 1000; now < end && !done(); now += 10) {
      for (int side = 0; side < 2; ++side) {
        if (clients[side] == nullptr) continue;
        std::vector<RendezvousSend> out;
        clients[side]->Tick(now, out);
        for (const RendezvousSend& s : out) Deliver(side, s, clients);
      }
      server.Tick(now);
    }
  }
};

RendezvousClient::Setup SetupOf(Side side, const Machine& m, uint64_t nonce) {
  RendezvousClient::Setup s;
  s.side = side;
  s.server = kServer;
  s.locals = {m.local};
  s.mapped = m.mapped;
  s.nonce = nonce;
  return s;
}

TEST(RendezvousFlow, EachWayThroughEndsWithItsPath) {
  const Machine behind_a{{0x0A000102, 47474}, {0x0B000102, 47474}, {}};
  const Machine behind_b{{0x0A000202, 47474}, {0x0B000202, 47474}, {}};
  const Machine bare{{0x0B000302, 47474}, {0x0B000302, 47474}, {}};
  const Machine forwarded{{0x0A000402, 47474}, {0x0B000402, 40000}, {0x0B000402, 47474}};
  const Machine same_router{{0x0A000103, 47474}, {0x0B000102, 1024}, {}};
  struct Case {
    Routers routers;
    Machine host, joiner;
    LinkPath path;
  };
  const Case kCases[] = {
      {Routers::None, bare, behind_a, LinkPath::Direct},
      {Routers::OneLan, behind_a, same_router, LinkPath::Lan},
      {Routers::Forwarding, forwarded, behind_a, LinkPath::Mapped},
      {Routers::Cone, behind_a, behind_b, LinkPath::Punched},
      {Routers::Symmetric, behind_a, behind_b, LinkPath::Relayed},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(PathName(c.path));
    World world{c.routers, c.host, c.joiner};
    RendezvousClient host(SetupOf(Side::Host, c.host, 11));
    RendezvousClient* clients[2] = {&host, nullptr};
    world.Run(clients, 5, [&] { return host.phase() == RendezvousClient::Phase::Waiting; });
    ASSERT_EQ(host.phase(), RendezvousClient::Phase::Waiting);
    EXPECT_EQ(host.public_address(), c.host.public_address);

    RendezvousClient::Setup joining = SetupOf(Side::Joiner, c.joiner, 22);
    joining.code = host.code();
    RendezvousClient joiner(joining);
    clients[1] = &joiner;
    world.Run(clients, 15, [&] {
      return host.phase() == RendezvousClient::Phase::Connected &&
             joiner.phase() == RendezvousClient::Phase::Connected && host.path() == joiner.path();
    });
    ASSERT_EQ(joiner.phase(), RendezvousClient::Phase::Connected) << joiner.failure();
    ASSERT_EQ(host.phase(), RendezvousClient::Phase::Connected) << host.failure();
    EXPECT_EQ(joiner.path(), c.path);
    EXPECT_EQ(host.path(), c.path);
    if (c.path == LinkPath::Relayed) {
      EXPECT_EQ(joiner.peer(), kRelay);
      EXPECT_EQ(world.server.relayed(), 1);
    }
    // The game is forgotten when its relay falls silent or it was never relayed, with one line.
    world.Run(clients, 70, [&] { return world.server.games() == 0; });
    ASSERT_EQ(world.log.size(), 1u);
    EXPECT_NE(world.log[0].find("game " + FormatGameCode(host.code()) + ": host "), std::string::npos)
        << world.log[0];
  }
}

TEST(RendezvousFlow, UnknownSpentAndExpiredCodesAreRefused) {
  const Machine a{{0x0A000102, 47474}, {0x0B000102, 47474}, {}};
  const Machine b{{0x0A000202, 47474}, {0x0B000202, 47474}, {}};
  const Machine c{{0x0A000302, 47474}, {0x0B000302, 47474}, {}};
  World world{Routers::Cone, a, b};
  RendezvousClient host(SetupOf(Side::Host, a, 1));
  RendezvousClient* clients[2] = {&host, nullptr};
  world.Run(clients, 5, [&] { return host.phase() == RendezvousClient::Phase::Waiting; });

  auto join = [&](const Machine& m, const GameCode& code, uint64_t nonce) {
    world.joiner = m;
    RendezvousClient::Setup s = SetupOf(Side::Joiner, m, nonce);
    s.code = code;
    auto joiner = std::make_unique<RendezvousClient>(s);
    clients[1] = joiner.get();
    world.Run(clients, 5, [&] { return joiner->phase() != RendezvousClient::Phase::Asking; });
    clients[1] = nullptr;
    return joiner;
  };
  const GameCode unknown = *ParseGameCode("2222-2222");
  EXPECT_EQ(join(b, unknown, 2)->failure(), "no game with code 2222-2222");
  EXPECT_EQ(join(b, host.code(), 3)->phase(), RendezvousClient::Phase::Looking);
  EXPECT_EQ(join(c, host.code(), 4)->failure(),
            "the game with code " + FormatGameCode(host.code()) + " already has two players");

  // A code nobody used lives 30 minutes while its host keeps it alive.
  RendezvousClient second(SetupOf(Side::Host, c, 5));
  clients[0] = &second;
  world.host = c;
  world.Run(clients, 5, [&] { return second.phase() == RendezvousClient::Phase::Waiting; });
  world.Run(clients, 29 * 60, [] { return false; });
  EXPECT_EQ(second.phase(), RendezvousClient::Phase::Waiting);
  world.Run(clients, 2 * 60, [&] { return second.phase() == RendezvousClient::Phase::Failed; });
  EXPECT_EQ(second.failure(), "the game code " + FormatGameCode(second.code()) + " expired");
  EXPECT_EQ(join(b, second.code(), 6)->failure(), "no game with code " + FormatGameCode(second.code()));
}

TEST(RendezvousFlow, StrangersGetNoMoreBytesThanTheySentAndFloodsStayBounded) {
  std::mt19937_64 random(3);
  ServerLimits limits;
  limits.max_games = 64;
  RendezvousServer server(limits, Counting, &random, [](const std::string&) {});
  // Well-formed requests and noise from many sources and from one: every answer to a source
  // is no longer than what that source sent.
  std::vector<ServerSend> out;
  int64_t now = 0;
  size_t answers = 0;
  for (int i = 0; i < 20000; ++i, now += (i % 100 == 0)) {
    const NetAddress from{i % 2 ? 0x0C000001u : static_cast<uint32_t>(0x0D000000 + i % 5000), 1234};
    RendezvousMessage m = RendezvousOf(static_cast<RendezvousType>(1 + random() % 11));
    m.code = RandomGameCode(Counting, &random);
    m.token = random() % 4;
    m.nonce = random();
    std::vector<uint8_t> bytes = EncodeRendezvous(m);
    if (i % 3 == 0) bytes.resize(random() % 80);
    out.clear();
    (i % 7 ? server.OnControl(from, bytes.data(), bytes.size(), now, out)
           : server.OnRelay(from, bytes.data(), bytes.size(), now, out));
    // Nothing forwarded: nobody has a token.
    size_t back = 0;
    for (const ServerSend& s : out) {
      ASSERT_EQ(s.to, from) << i;
      back += s.bytes.size();
    }
    ASSERT_LE(back, bytes.size()) << i;
    answers += out.size();
  }
  EXPECT_GT(answers, 0u);
  EXPECT_LE(server.games(), limits.max_games);
  // When the flood's games have lapsed, the next host is served.
  out.clear();
  std::vector<RendezvousSend> sends;
  RendezvousClient late(SetupOf(Side::Host, {{0x0A000102, 1}, {0x0B000102, 1}, {}}, 99));
  late.Tick(now + 100000, sends);
  server.Tick(now + 100000);
  server.OnControl({0x0B000102, 1}, sends[0].bytes.data(), sends[0].bytes.size(), now + 100000, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_TRUE(late.Take(kServer, out[0].bytes.data(), out[0].bytes.size(), now + 100000, sends));
  EXPECT_EQ(late.phase(), RendezvousClient::Phase::Waiting);
}

}  // namespace
}  // namespace brawl

namespace brawl {
namespace {

TEST(RendezvousFlow, TheRelayIsBoundedInGamesAndBytes) {
  std::mt19937_64 random(9);
  ServerLimits limits;
  limits.max_relayed = 1;
  limits.relay_bytes_per_s = 10000;
  RendezvousServer server(limits, Counting, &random, [](const std::string&) {});
  std::vector<ServerSend> out;
  auto ask = [&](const NetAddress& from, const RendezvousMessage& m, bool relay) {
    out.clear();
    const std::vector<uint8_t> bytes = EncodeRendezvous(m);
    (relay ? server.OnRelay(from, bytes.data(), bytes.size(), 0, out)
           : server.OnControl(from, bytes.data(), bytes.size(), 0, out));
    return out.empty() ? RendezvousMessage{} : *DecodeRendezvous(out[0].bytes.data(), out[0].bytes.size());
  };
  // Two games, each joined: host i at 12.0.0.i, joiner at 13.0.0.i.
  uint64_t tokens[2];
  for (uint32_t i = 0; i < 2; ++i) {
    RendezvousMessage m = RendezvousOf(RendezvousType::Register);
    m.nonce = 100 + i;
    const RendezvousMessage registered = ask({0x0C000000 + i, 1}, m, false);
    m = RendezvousOf(RendezvousType::Join);
    m.nonce = 200 + i;
    m.code = registered.code;
    tokens[i] = ask({0x0D000000 + i, 1}, m, false).token;
    ASSERT_EQ(tokens[i], registered.token);
  }
  auto bind = [&](int game, Side side, const NetAddress& from) {
    RendezvousMessage m = RendezvousOf(RendezvousType::RelayBind);
    m.token = tokens[game];
    m.side = side;
    return ask(from, m, true);
  };
  const NetAddress host{0x0C000000, 2}, joiner{0x0D000000, 2};
  EXPECT_EQ(bind(0, Side::Host, host).type, RendezvousType::RelayBound);
  EXPECT_EQ(bind(0, Side::Joiner, joiner).type, RendezvousType::RelayBound);
  const RendezvousMessage refused = bind(1, Side::Host, {0x0C000001, 2});
  EXPECT_EQ(refused.type, RendezvousType::Error);
  EXPECT_EQ(refused.error, RendezvousError::Full);

  // Within one second the relay passes its budget and no more, unchanged and to the other side.
  const std::vector<uint8_t> payload(1000, 0x5A);
  size_t passed = 0;
  for (int i = 0; i < 30; ++i) {
    out.clear();
    server.OnRelay(i % 2 ? host : joiner, payload.data(), payload.size(), 0, out);
    for (const ServerSend& s : out) {
      EXPECT_EQ(s.to, i % 2 ? joiner : host);
      EXPECT_EQ(s.bytes, payload);
      passed += s.bytes.size();
    }
  }
  EXPECT_EQ(passed, 10000u);
  // A second later the budget is back.
  out.clear();
  server.OnRelay(host, payload.data(), payload.size(), 1000, out);
  EXPECT_EQ(out.size(), 1u);
}

}  // namespace
}  // namespace brawl
