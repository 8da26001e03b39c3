// The server in memory, for what the lab's games cannot show: codes that are spent or expire
// after half an hour, the relay's bounds, and a flood from thousands of addresses, each
// answered with no more bytes than it sent.
#include "rendezvous/rendezvous_server.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace brawl {
namespace {

void Counting(uint8_t* bytes, size_t count, void* context) {
  auto& random = *static_cast<std::mt19937_64*>(context);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(random());
}

struct Server {
  explicit Server(const ServerLimits& limits = {})
      : server(limits, Counting, &random, [this](const std::string& line) { log.push_back(line); }) {}

  // The server's first answer to a message of `type` from `from`, on the relay's port for a
  // RelayBind, else on the control port; a message of no type when it says nothing.
  RendezvousMessage Ask(const NetAddress& from, RendezvousType type, uint64_t nonce_or_token,
                        const GameCode& code = {}, Side side = Side::Host) {
    RendezvousMessage m = RendezvousOf(type);
    m.nonce = m.token = nonce_or_token;
    m.code = code;
    m.side = side;
    const std::vector<uint8_t> bytes = EncodeRendezvous(m);
    out.clear();
    type == RendezvousType::RelayBind ? server.OnRelay(from, bytes.data(), bytes.size(), now, out)
                                      : server.OnControl(from, bytes.data(), bytes.size(), now, out);
    return out.empty() ? RendezvousOf(RendezvousType{})
                       : *DecodeRendezvous(out[0].bytes.data(), out[0].bytes.size());
  }
  // Lets `seconds` pass, the host of `token` saying it is alive every 30 s; the last answer.
  RendezvousMessage KeepAlive(int seconds, const NetAddress& host, uint64_t token) {
    RendezvousMessage last;
    for (int s = 0; s < seconds; ++s, now += 1000) {
      server.Tick(now);
      if (s % 30 == 0) last = Ask(host, RendezvousType::Alive, token);
    }
    return last;
  }

  std::mt19937_64 random{7};
  std::vector<std::string> log;
  RendezvousServer server;
  std::vector<ServerSend> out;
  int64_t now = 0;
};

// What the server refused, or 0.
int Refusal(const RendezvousMessage& m) {
  return m.type == RendezvousType::Error ? static_cast<int>(m.error) : 0;
}

constexpr NetAddress kHost{0x0B000102, 47474}, kJoiner{0x0B000202, 40000}, kThird{0x0B000302, 40000};

TEST(RendezvousServer, CodesAreRefusedWhenUnknownSpentOrExpired) {
  Server s;
  const RendezvousMessage game = s.Ask(kHost, RendezvousType::Register, 1);
  ASSERT_EQ(game.type, RendezvousType::Registered);
  EXPECT_EQ(game.public_address, kHost);
  const GameCode unknown =
      *ParseGameCode(game.code == *ParseGameCode("2222-2222") ? "3333-3333" : "2222-2222");
  struct Case {
    NetAddress from;
    GameCode code;
    uint64_t nonce;
    RendezvousType answer;
    int refusal;
  };
  const Case kCases[] = {
      {kJoiner, unknown, 2, RendezvousType::Error, 1},  // no such game
      {kJoiner, game.code, 3, RendezvousType::Introduce, 0},
      {kJoiner, game.code, 3, RendezvousType::Introduce, 0},  // its introduction went astray
      {kThird, game.code, 4, RendezvousType::Error, 2},       // taken
  };
  for (const Case& c : kCases) {
    const RendezvousMessage answer = s.Ask(c.from, RendezvousType::Join, c.nonce, c.code);
    EXPECT_EQ(answer.type, c.answer) << c.nonce;
    EXPECT_EQ(Refusal(answer), c.refusal) << c.nonce;
  }
  // A code nobody used lives 30 minutes while its host keeps it alive, then it is gone.
  const RendezvousMessage second = s.Ask(kThird, RendezvousType::Register, 5);
  EXPECT_EQ(s.KeepAlive(29 * 60, kThird, second.token).type, RendezvousType{});
  EXPECT_EQ(Refusal(s.KeepAlive(2 * 60, kThird, second.token)), 1);
  EXPECT_EQ(Refusal(s.Ask(kJoiner, RendezvousType::Join, 6, second.code)), 1);
  // One line for each game once it is forgotten.
  ASSERT_EQ(s.log.size(), 2u);
  EXPECT_EQ(s.log[0].rfind("game " + FormatGameCode(game.code) + ": host 11.0.1.2:47474, joiner ", 0), 0u);
  EXPECT_NE(s.log[1].find(", nobody joined, 1800 s, expired"), std::string::npos) << s.log[1];
}

TEST(RendezvousServer, TheRelayIsBoundedInGamesAndBytes) {
  ServerLimits limits;
  limits.max_relayed = 1;
  limits.relay_bytes_per_s = 10000;
  Server s(limits);
  // Two games, each joined: host i at 12.0.0.i, joiner at 13.0.0.i.
  uint64_t tokens[2];
  for (uint32_t i = 0; i < 2; ++i) {
    const RendezvousMessage game = s.Ask({0x0C000000 + i, 1}, RendezvousType::Register, 100 + i);
    tokens[i] = s.Ask({0x0D000000 + i, 1}, RendezvousType::Join, 200 + i, game.code).token;
  }
  const NetAddress host{0x0C000000, 2}, joiner{0x0D000000, 2};
  EXPECT_EQ(s.Ask(host, RendezvousType::RelayBind, tokens[0]).type, RendezvousType::RelayBound);
  EXPECT_EQ(s.Ask(joiner, RendezvousType::RelayBind, tokens[0], {}, Side::Joiner).type,
            RendezvousType::RelayBound);
  EXPECT_EQ(Refusal(s.Ask({0x0C000001, 2}, RendezvousType::RelayBind, tokens[1])), 3);  // full

  // Within one second the relay passes its budget and no more, unchanged and to the other side.
  const std::vector<uint8_t> payload(1000, 0x5A);
  size_t passed = 0;
  for (int i = 0; i < 30; ++i) {
    s.out.clear();
    s.server.OnRelay(i % 2 ? host : joiner, payload.data(), payload.size(), s.now, s.out);
    for (const ServerSend& sent : s.out) {
      EXPECT_EQ(sent.to, i % 2 ? joiner : host);
      EXPECT_EQ(sent.bytes, payload);
      passed += sent.bytes.size();
    }
  }
  EXPECT_EQ(passed, 10000u);
  // A second later the budget is back.
  s.out.clear();
  s.server.OnRelay(host, payload.data(), payload.size(), s.now + 1000, s.out);
  EXPECT_EQ(s.out.size(), 1u);
}

// A host's next game from the same port, which its router maps to the same public port, binds
// to the relay while the last game's binding has not lapsed.
TEST(RendezvousServer, TheNextGameFromTheSamePortBindsToTheRelayAnew) {
  Server s;
  for (uint64_t game = 0; game < 2; ++game) {
    const RendezvousMessage registered = s.Ask(kHost, RendezvousType::Register, 10 + game);
    const uint64_t token = s.Ask(kJoiner, RendezvousType::Join, 20 + game, registered.code).token;
    EXPECT_EQ(s.Ask(kHost, RendezvousType::RelayBind, token).type, RendezvousType::RelayBound) << game;
  }
}

TEST(RendezvousServer, StrangersGetNoMoreBytesThanTheySentAndFloodsStayBounded) {
  ServerLimits limits;
  limits.max_games = 64;
  Server s(limits);
  // Well-formed requests and noise from many sources and from one: every answer goes to the
  // source, no longer than what it sent, and nothing is forwarded (nobody has a token).
  std::mt19937_64 random(3);
  size_t answers = 0;
  for (int i = 0; i < 20000; ++i, s.now += (i % 100 == 0)) {
    const NetAddress from{i % 2 ? 0x0C000001u : static_cast<uint32_t>(0x0D000000 + i % 5000), 1234};
    RendezvousMessage m = RendezvousOf(static_cast<RendezvousType>(1 + random() % 11));
    m.code = RandomGameCode(Counting, &random);
    m.token = random() % 4;
    m.nonce = random();
    std::vector<uint8_t> bytes = EncodeRendezvous(m);
    if (i % 3 == 0) bytes.resize(random() % 80);
    s.out.clear();
    i % 7 ? s.server.OnControl(from, bytes.data(), bytes.size(), s.now, s.out)
          : s.server.OnRelay(from, bytes.data(), bytes.size(), s.now, s.out);
    size_t back = 0;
    for (const ServerSend& sent : s.out) {
      ASSERT_EQ(sent.to, from) << i;
      back += sent.bytes.size();
    }
    ASSERT_LE(back, bytes.size()) << i;
    answers += s.out.size();
  }
  EXPECT_GT(answers, 0u);
  EXPECT_LE(s.server.games(), limits.max_games);
  // When the flood's games have lapsed, the next host is served.
  s.now += 100000;
  s.server.Tick(s.now);
  EXPECT_EQ(s.Ask(kHost, RendezvousType::Register, 99).type, RendezvousType::Registered);
}

}  // namespace
}  // namespace brawl
