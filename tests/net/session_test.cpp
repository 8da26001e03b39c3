// Two sessions of an online game in one process, over an in-process link that delays, jitters,
// drops, duplicates and reorders by a seed, on a clock of the test's own: over a matrix of bad
// links the two sides confirm the same match on every pass, and where the round trip is longer
// than the input delay covers, guesses were wrong and rolled back.
#include "net/session.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "net/link_sim.h"
#include "net/protocol.h"
#include "net/state_hash.h"

namespace brawl {
namespace {

NetTime g_now = NetTime{} + std::chrono::hours(1);
NetTime Now() {
  return g_now;
}

constexpr int kFrames = 600;
constexpr uint16_t kEnter = 1 << 8;

// One side: its session, the keys it holds, and the hash of every match it confirmed.
struct Side {
  Session session;
  std::map<int32_t, uint64_t> confirmed;
  std::vector<SessionEvent> said;
  uint32_t noise;
  uint16_t held = 0;

  Side(std::unique_ptr<NetLink> link, bool host, uint32_t seed) : noise(seed) {
    StartSession(session, std::move(link), SessionSetup{host, 2, 42, 7}, g_now);
  }

  // Enter starts the match; then the keys change every few passes, as a player's do.
  void Tick() {
    for (SessionEvent& event : Poll(session, g_now)) said.push_back(std::move(event));
    if (CanStep(session) && session.rollback.pass < kFrames) {
      const int32_t next = session.rollback.pass + 1;
      if (next == 3) held = kEnter;
      if (next > 3 && next % 7 == 0) {
        noise = noise * 1664525u + 1013904223u;
        held = (noise >> 16) & 0x7F;
      }
      Step(session, held, g_now);
    }
    for (int32_t f = static_cast<int32_t>(confirmed.size()) + 1; f <= ConfirmedPass(session); ++f)
      confirmed[f] = HashMatch(ConfirmedMatch(session, f));
  }

  bool Said(SessionEventKind kind) const {
    for (const SessionEvent& e : said)
      if (e.kind == kind) return true;
    return false;
  }
};

struct Pair {
  std::unique_ptr<Side> host, joiner;

  explicit Pair(const LinkFaults& faults = {}) {
    auto [host_end, joiner_end] = LinkPair();
    LinkFaults other = faults;
    other.seed += 1;
    host = std::make_unique<Side>(WithFaults(std::move(host_end), faults, Now), true, 1);
    joiner = std::make_unique<Side>(WithFaults(std::move(joiner_end), other, Now), false, 2);
  }

  // Ticks both sides until `done` or the ticks run out.
  template <typename Done>
  void Run(int ticks, Done done) {
    for (int tick = 0; tick < ticks && !done(); ++tick) {
      g_now += std::chrono::microseconds(16667);
      host->Tick();
      joiner->Tick();
    }
  }
};

struct Link {
  int rtt, jitter, loss;
};

class SessionLink : public ::testing::TestWithParam<Link> {};

TEST_P(SessionLink, BothSidesConfirmTheSameMatchOnEveryFrame) {
  const Link link = GetParam();
  Pair pair(LinkFaults{double(link.rtt), double(link.jitter), double(link.loss), 2.0, 11});
  pair.Run(20 * kFrames, [&] {
    return pair.host->confirmed.size() >= kFrames && pair.joiner->confirmed.size() >= kFrames;
  });
  ASSERT_GE(pair.host->confirmed.size(), static_cast<size_t>(kFrames));
  ASSERT_GE(pair.joiner->confirmed.size(), static_cast<size_t>(kFrames));
  for (int32_t f = 1; f <= kFrames; ++f) ASSERT_EQ(pair.host->confirmed[f], pair.joiner->confirmed[f]) << f;
  EXPECT_TRUE(pair.host->Said(SessionEventKind::Running) && pair.joiner->Said(SessionEventKind::Running));
  // A guess is made for every pass the other side's commands have not reached yet.
  if (link.rtt / 2 > 2 * 1000 / 60) {
    EXPECT_GT(pair.host->session.rollback.rollbacks + pair.joiner->session.rollback.rollbacks, 0);
  }
}

std::vector<Link> Matrix() {
  std::vector<Link> links;
  for (int rtt : {0, 50, 100, 200})
    for (int jitter : {0, 10})
      for (int loss : {0, 5, 20}) links.push_back({rtt, jitter, loss});
  return links;
}

INSTANTIATE_TEST_SUITE_P(Links, SessionLink, ::testing::ValuesIn(Matrix()), [](const auto& p) {
  return "rtt" + std::to_string(p.param.rtt) + "_jitter" + std::to_string(p.param.jitter) + "_loss" +
         std::to_string(p.param.loss);
});

// Both sides hash confirmed passes and compare: a side that goes its own way is found, and
// both sides say so about the same pass.
TEST(SessionDesync, IsSaidOnBothSidesAboutTheFirstCheckAfterTheSidesSplit) {
  Pair pair;
  pair.joiner->session.setup.desync_at = 100;
  const auto desync = [](const Side& side) {
    for (const SessionEvent& e : side.said)
      if (e.kind == SessionEventKind::Desync) return e.pass;
    return 0;
  };
  pair.Run(600, [&] { return desync(*pair.host) != 0 && desync(*pair.joiner) != 0; });
  EXPECT_EQ(desync(*pair.host), 120);
  EXPECT_EQ(desync(*pair.joiner), 120);
}

// Datagrams put into the link by a stranger who knows the protocol but not the session's
// token change nothing: a leave, commands, a desync. They are counted; the game plays on.
TEST(SessionToken, MessagesWithoutItAreDroppedAndCounted) {
  auto [host_end, joiner_end] = LinkPair();
  NetLink* into_host = joiner_end.get();  // what the joiner's end sends, the host receives
  Side host(std::move(host_end), true, 1), joiner(std::move(joiner_end), false, 2);
  Message forged[3] = {MessageOf(MessageType::Leave), MessageOf(MessageType::Commands),
                       MessageOf(MessageType::Desync)};
  forged[1].first = 1;
  forged[1].inputs = {0x7F, 0x7F, 0x7F};
  forged[2].pass = 30;
  for (int tick = 0; tick < 300; ++tick) {
    g_now += std::chrono::microseconds(16667);
    if (tick % 50 == 25 && joiner.session.link) {  // the end goes with the joiner's session
      Message m = forged[tick / 50 % 3];
      m.token = tick == 25 ? 0 : host.session.token ^ 1;  // none, then a wrong one
      into_host->Send(Encode(m), true);
    }
    host.Tick();
    joiner.Tick();
  }
  EXPECT_EQ(Dropped(host.session), 6);
  EXPECT_FALSE(host.Said(SessionEventKind::PeerLeft) || host.Said(SessionEventKind::Desync));
  EXPECT_GT(host.session.rollback.pass, 200);
  for (const auto& [pass, hash] : host.confirmed) ASSERT_EQ(hash, joiner.confirmed[pass]) << pass;
  // Drawn anew for every game: a token seen once opens no other.
  Pair next;
  next.Run(60, [&] { return next.joiner->session.token != 0; });
  EXPECT_EQ(next.joiner->session.token, next.host->session.token);
  EXPECT_NE(next.host->session.token, host.session.token);
}

// A side that stood still longer than the other waits (a stopped process, a closed lid) ends
// when it wakes, as the other already has, instead of playing on alone with old news.
TEST(SessionQuiet, ASideThatStoodStillEndsAsItWakes) {
  Pair pair;
  pair.Run(300, [&] { return pair.joiner->session.rollback.pass >= 100; });
  // The host waits 4 s, its messages pile up for the joiner, then the host stalls too.
  for (int tick = 0; tick < 4 * 60; ++tick) {
    g_now += std::chrono::microseconds(16667);
    pair.host->Tick();
  }
  g_now += std::chrono::seconds(2);
  const int32_t stood_at = pair.joiner->session.rollback.pass;
  pair.joiner->Tick();
  EXPECT_TRUE(pair.joiner->Said(SessionEventKind::ConnectionLost));
  EXPECT_EQ(pair.joiner->session.rollback.pass, stood_at);
  pair.host->Tick();
  EXPECT_TRUE(pair.host->Said(SessionEventKind::ConnectionLost));
}

// The side that leaves sends what the other lacks with its goodbye: every pass it stepped
// can be confirmed by both, even when its last commands were lost on the way.
TEST(SessionLeave, LetsTheOtherSideConfirmEveryPassBothPlayed) {
  Pair pair(LinkFaults{100, 0, 50, 0, 3});
  pair.Run(400, [&] { return pair.joiner->session.rollback.pass >= 300; });
  Leave(pair.joiner->session);
  pair.Run(100, [&] { return pair.host->Said(SessionEventKind::PeerLeft); });
  ASSERT_TRUE(pair.host->Said(SessionEventKind::PeerLeft));
  EXPECT_EQ(ConfirmedPass(pair.host->session), std::min(pair.host->session.rollback.pass, 300));
}

// The host checks the joiner's protocol and rules; a mismatch is said on both sides.
TEST(SessionHandshake, AnotherBuildOfTheRulesIsRefusedOnBothSides) {
  auto [host_end, joiner_end] = LinkPair();
  Side host(std::move(host_end), true, 1);
  Session joiner;
  StartSession(joiner, std::move(joiner_end), SessionSetup{false, 2, 43, 0}, g_now);
  std::string said[2];
  for (int tick = 0; tick < 100 && (said[0].empty() || said[1].empty()); ++tick) {
    g_now += std::chrono::microseconds(16667);
    for (const SessionEvent& e : Poll(host.session, g_now))
      if (e.kind == SessionEventKind::Refused) said[0] = e.why;
    for (const SessionEvent& e : Poll(joiner, g_now))
      if (e.kind == SessionEventKind::Refused) said[1] = e.why;
  }
  EXPECT_EQ(said[0], "the other player runs another build of the rules");
  EXPECT_EQ(said[1], "the other player runs another build of the rules (refused by the host)");
}

// A joiner of the last protocol, whose hello ends before the path, is still refused by name.
TEST(SessionHandshake, AJoinerOfTheLastProtocolIsRefusedByName) {
  auto [host_end, joiner_end] = LinkPair();
  Side host(std::move(host_end), true, 1);
  joiner_end->Send({1, 2, 0, 0, 0, 42, 0, 0, 0, 0, 0, 0, 0}, true);  // Hello, version 2, rules 42
  for (int tick = 0; tick < 10 && host.said.size() < 2; ++tick) host.Tick();
  ASSERT_EQ(host.said.size(), 2u);
  EXPECT_EQ(host.said[1].why, "the other player runs another version of the protocol");
}

}  // namespace
}  // namespace brawl
