// Two sides of an online game in one process, over an in-process link that delays, jitters,
// drops, duplicates and reorders by a seed, on a clock of the test's own: over a matrix of bad
// links the two sides' confirmed matches agree on every frame, and where the round trip is
// longer than the input delay covers, guesses were wrong and rolled back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/settings_form.h"
#include "base/fatal_error.h"
#include "game/game.h"
#include "game/net_play.h"
#include "net/link_sim.h"
#include "net/state_hash.h"
#include "platform/headless/headless_machine.h"
#include "support/run_brawl.h"

namespace brawl {
namespace {

using SteadyClock = std::chrono::steady_clock;

SteadyClock::time_point g_now;
SteadyClock::time_point Now() {
  return g_now;
}

std::unique_ptr<NetLink> g_ends[2];  // the host's end, the joiner's
std::unique_ptr<NetLink> Open(const NetPlan& plan, bool (*)(void*), void*) {
  return std::move(g_ends[plan.host ? 0 : 1]);
}

constexpr int kFrames = 600;
constexpr int kInputDelay = 2;

// One side: a headless machine, its game, and what it confirmed.
struct Side : RunObserver {
  std::unique_ptr<HeadlessMachine> machine;
  std::unique_ptr<Game> game;
  NetPlay net;
  std::map<int32_t, uint64_t> confirmed;  // frame -> hash of the match
  int stepped = 0;
  uint32_t noise;

  Side(bool host, uint32_t seed) : noise(seed) {
    machine = std::make_unique<HeadlessMachine>(HeadlessSetup{});
    game = std::make_unique<Game>(machine->platform);
    game->settings.AppPath = BuildDir() + "/";
    game->observer = this;
    net.plan.host = host;
    net.plan.input_delay = kInputDelay;
    net.plan.seed = 7;
    net.open = Open;
    net.now = Now;
    net.paced = false;
    game->net = &net;
    LaunchGame(*game);
    game->loop.Running = true;
  }

  // Enter starts the match; then the keys change every few frames, as a player's do.
  bool NextFrame(Game&) override {
    if (stepped >= kFrames) return false;
    ++stepped;
    HeldInput& held = machine->held;
    if (stepped == 3) held.keys = 1u << static_cast<int>(Key::Enter);
    if (stepped > 3 && stepped % 7 == 0) {
      noise = noise * 1664525u + 1013904223u;
      // Up Down Left Right Num1 Num2 Num3: the first seven keys.
      held.keys = (noise >> 16) & 0x7F;
    }
    return true;
  }

  void FrameConfirmed(Game&, const Match& match, int32_t frame, const std::string&) override {
    confirmed[frame] = HashMatch(match);
  }

  bool Done() const { return game->loop.ending; }
};

struct Link {
  int rtt, jitter, loss;
};

// The two ends of a fresh in-process link, each through its own faults.
void Connect(const LinkFaults& faults = {}) {
  auto [host_end, joiner_end] = LinkPair();
  g_ends[0] = WithFaults(std::move(host_end), faults, Now);
  LinkFaults other = faults;
  other.seed += 1;
  g_ends[1] = WithFaults(std::move(joiner_end), other, Now);
}

class OnlineLink : public ::testing::TestWithParam<Link> {};

TEST_P(OnlineLink, BothSidesConfirmTheSameMatchOnEveryFrame) {
  const Link link = GetParam();
  auto [host_end, joiner_end] = LinkPair();
  const LinkFaults faults{double(link.rtt), double(link.jitter), double(link.loss), 2.0, 11};
  g_ends[0] = WithFaults(std::move(host_end), faults, Now);
  g_ends[1] = WithFaults(
      std::move(joiner_end),
      LinkFaults{faults.rtt_ms, faults.jitter_ms, faults.loss_percent, faults.duplicate_percent, 12}, Now);
  g_now = SteadyClock::time_point{} + std::chrono::hours(1);
  Side host(true, 1), joiner(false, 2);
  for (int tick = 0; tick < 20 * kFrames && !(host.Done() && joiner.Done()); ++tick) {
    g_now += std::chrono::microseconds(16667);
    if (!host.Done()) RunNetTick(*host.game);
    if (!joiner.Done()) RunNetTick(*joiner.game);
  }
  ASSERT_TRUE(host.Done() && joiner.Done());
  ASSERT_GE(host.confirmed.size(), static_cast<size_t>(kFrames));
  int compared = 0;
  for (const auto& [frame, hash] : host.confirmed) {
    const auto other = joiner.confirmed.find(frame);
    if (other == joiner.confirmed.end()) continue;
    ASSERT_EQ(hash, other->second) << "frame " << frame;
    ++compared;
  }
  EXPECT_GE(compared, kFrames);
  // A guess is made for every frame the other side's commands have not reached yet.
  if (link.rtt / 2 > kInputDelay * 1000 / 60) {
    EXPECT_GT(host.net.rollback.rollbacks + joiner.net.rollback.rollbacks, 0);
  }
}

// Both sides hash confirmed frames and compare: one that goes its own way stops the game for
// both with one line, and leaves its replay and last state for a bug report.
TEST(OnlineDesync, EndsTheGameWithTheReportsWritten) {
  const std::string state = MakeTempDir();
  Connect();
  Side host(true, 1), joiner(false, 2);
  host.net.plan.report_folder = joiner.net.plan.report_folder = state + "/billboard-brawl/";
  std::string message;
  try {
    for (int tick = 0; tick < 400; ++tick) {
      g_now += std::chrono::microseconds(16667);
      if (tick == 100) joiner.net.rollback.match.Fighter[0].X += 1;  // not what the rules say
      RunNetTick(*host.game);
      RunNetTick(*joiner.game);
    }
  } catch (const NetError& e) {
    message = e.what();
  }
  EXPECT_NE(message.find("desync at frame"), std::string::npos) << message;
  EXPECT_EQ(message.find('\n'), std::string::npos);
  EXPECT_NE(message.find(state + "/billboard-brawl/desync-"), std::string::npos) << message;
  int reports = 0;
  for (const auto& entry : std::filesystem::directory_iterator(state + "/billboard-brawl")) {
    reports += entry.path().extension() == ".replay" || entry.path().extension() == ".json";
  }
  EXPECT_EQ(reports, 2);
}

// The host checks the joiner's protocol and rules; a mismatch is one line on both sides.
TEST(OnlineHandshake, AnotherBuildOfTheRulesIsRefusedOnBothSides) {
  Connect();
  Side host(true, 1), joiner(false, 2);
  joiner.net.plan.rules = 42;
  std::string said[2];
  for (int tick = 0; tick < 100 && (said[0].empty() || said[1].empty()); ++tick) {
    g_now += std::chrono::microseconds(16667);
    Side* sides[2] = {&host, &joiner};
    for (int i = 0; i < 2; ++i) {
      try {
        if (said[i].empty()) RunNetTick(*sides[i]->game);
      } catch (const NetError& e) {
        said[i] = e.what();
      }
    }
  }
  EXPECT_EQ(said[0], "the other player runs another build of the rules");
  EXPECT_EQ(said[1], "the other player runs another build of the rules (refused by the host)");
}

std::vector<Link> Matrix() {
  std::vector<Link> links;
  for (int rtt : {0, 50, 100, 200})
    for (int jitter : {0, 10})
      for (int loss : {0, 5, 20}) links.push_back({rtt, jitter, loss});
  return links;
}

INSTANTIATE_TEST_SUITE_P(Links, OnlineLink, ::testing::ValuesIn(Matrix()), [](const auto& p) {
  return "rtt" + std::to_string(p.param.rtt) + "_jitter" + std::to_string(p.param.jitter) + "_loss" +
         std::to_string(p.param.loss);
});

}  // namespace
}  // namespace brawl
