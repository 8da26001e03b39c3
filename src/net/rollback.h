#pragma once
#include <cstdint>
#include <vector>

#include "net/packed_commands.h"
#include "sim/pass.h"

namespace brawl {

constexpr int kMaxPassesAhead = 8;  // of the last pass both players' commands are known for
constexpr int kMaxInputDelay = 8;
constexpr int kCommandRing = 64;  // passes of commands kept
constexpr int kStateRing = 16;    // passes of matches kept, enough to roll back the most

// A match that can be put back to a recent pass and stepped again. Online, it is one side's
// match: stepped at once with the other player's commands guessed (held as last seen), and
// stepped again from the last pass both knew when the real ones arrive and differ. A local
// run keeps each pass's whole input instead, so that its passes can be stepped again too.
struct Rollback {
  bool online = true;
  int local = 0;  // online: this side's player, 0 the host, 1 the joiner
  int delay = 0;  // online: passes between sampling this side's commands and the pass they act in
  uint32_t seed = 0;
  Match match;                // after `pass`
  int32_t pass = 0;           // passes stepped
  int32_t known[2] = {0, 0};  // each player's commands are known for every pass up to this one
  CommandBits commands[2][kCommandRing] = {};
  CommandBits guessed[kCommandRing] = {};  // the other player's commands each stepped pass used
  PassInput inputs[kStateRing];            // local runs: what each recent pass was given
  Match saved[kStateRing];                 // the match after each recent pass
  int64_t rollbacks = 0;
  int max_rollback = 0;
  int32_t perturb_at = 0;  // --desync-at, for tests: this side's match goes wrong at this pass
};

void StartRollback(Rollback& r, const Match& start, int local, int delay, uint32_t seed);
int32_t Confirmed(const Rollback& r);
// False while this side is as far ahead of what it has confirmed as it may go.
bool CanAdvance(const Rollback& r);
// Takes this side's commands (for pass + 1 + delay) and steps the next pass.
PassEvents Advance(Rollback& r, CommandBits local_commands);
// The other player's commands from pass `first` on. Passes already stepped with a wrong guess
// are stepped again from the earliest; returns how many (0 when every guess was right).
int TakeRemote(Rollback& r, int32_t first, const std::vector<CommandBits>& commands);

// A local run: each pass is stepped with the input it was given.
void StartLocalRollback(Rollback& r, const Match& start);
PassEvents AdvanceLocal(Rollback& r, const PassInput& input);

// Puts the match back to where it was after pass `first` - 1 and steps the passes since again.
void StepAgainFrom(Rollback& r, int32_t first);
// The match after pass `f`, for passes not older than kStateRing.
const Match& MatchAfter(const Rollback& r, int32_t f);
CommandBits CommandsOf(const Rollback& r, int player, int32_t f);

}  // namespace brawl
