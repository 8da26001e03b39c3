// The rollback alone: the other player's commands arrive late, in pieces, twice and out of
// order, and every confirmed match must be the one stepped straight with the right commands.
#include "net/rollback.h"

#include <gtest/gtest.h>

#include <random>

#include "net/net_step.h"
#include "net/session.h"
#include "net/state_hash.h"

namespace brawl {
namespace {

constexpr int kPasses = 400;
constexpr uint32_t kSeed = 7;

CommandBits Player(int player, int32_t pass) {
  if (pass == 3) return 1 << 8;  // Enter starts the match
  return static_cast<CommandBits>((pass / 9 + player * 5) % 7 == 0 ? 0 : 1 << ((pass / 9 + player) % 7));
}

TEST(Rollback, LateShuffledCommandsGiveTheMatchSteppedWithTheRightOnes) {
  for (const int delay : {0, 2}) {
    // Nobody commands anything in the passes the delay covers.
    const auto commands = [delay](int player, int32_t p) {
      return p <= delay ? CommandBits{0} : Player(player, p);
    };
    // The match as it should be, stepped straight.
    std::vector<uint64_t> straight(kPasses + 1);
    Match m = OnlineStart(kSeed);
    for (int32_t p = 1; p <= kPasses; ++p) {
      NetStep(m, kSeed, p, commands(0, p), commands(1, p));
      straight[static_cast<size_t>(p)] = HashMatch(m);
    }
    Rollback r;
    StartRollback(r, OnlineStart(kSeed), 0, delay, kSeed);
    std::mt19937 random(delay);
    int32_t sent = 0;  // player 2's commands handed over up to here, some of them again
    int32_t checked = 0;
    while (checked < kPasses) {
      if (CanAdvance(r) && r.pass < kPasses) Advance(r, Player(0, r.pass + 1 + delay));
      // A piece from somewhere before what was sent, up to a few passes ahead.
      const int32_t first = std::max(1, sent - static_cast<int32_t>(random() % 6));
      const int32_t last = std::min<int32_t>(r.pass + 3, first + static_cast<int32_t>(random() % 5));
      std::vector<CommandBits> piece;
      for (int32_t p = first; p <= last; ++p) piece.push_back(commands(1, p));
      if (random() % 4 != 0) TakeRemote(r, first, piece);  // a quarter is lost
      if (r.known[1] > sent) sent = r.known[1];
      for (; checked < Confirmed(r); ++checked)
        ASSERT_EQ(HashMatch(MatchAfter(r, checked + 1)), straight[static_cast<size_t>(checked + 1)])
            << "delay " << delay << ", pass " << checked + 1;
    }
    EXPECT_GT(r.rollbacks, 0);
    EXPECT_LE(r.max_rollback, kMaxPassesAhead);
  }
}

}  // namespace
}  // namespace brawl
