#include "net/rollback.h"

#include <algorithm>

#include "net/net_step.h"

namespace brawl {

namespace {

int Slot(int32_t f, int ring) {
  return static_cast<int>(f % ring);
}

// The other player's commands for pass f: known, or the last known held on.
CommandBits RemoteFor(const Rollback& r, int32_t f) {
  const int remote = 1 - r.local;
  return r.commands[remote][Slot(std::min(f, r.known[remote]), kCommandRing)];
}

PassEvents StepAt(Rollback& r, int32_t f) {
  PassEvents events;
  if (r.online) {
    const CommandBits remote = RemoteFor(r, f);
    r.guessed[Slot(f, kCommandRing)] = remote;
    const CommandBits mine = r.commands[r.local][Slot(f, kCommandRing)];
    events = NetStep(r.match, r.seed, f, r.local == 0 ? mine : remote, r.local == 0 ? remote : mine);
    if (f == r.perturb_at) r.match.Fighter[r.local].X += 1;  // not what the rules say, every time
  } else {
    events = StepPass(r.match, r.inputs[Slot(f, kStateRing)]);
  }
  r.saved[Slot(f, kStateRing)] = r.match;
  return events;
}

}  // namespace

void StartRollback(Rollback& r, const Match& start, int local, int delay, uint32_t seed) {
  r = Rollback{};
  r.local = local;
  r.delay = delay;
  r.seed = seed;
  r.match = start;
  r.saved[0] = start;
  // Nobody commands anything in the passes before the first commands can act.
  r.known[0] = local == 0 ? delay : 0;
  r.known[1] = local == 1 ? delay : 0;
}

void StartLocalRollback(Rollback& r, const Match& start) {
  r = Rollback{};
  r.online = false;
  r.match = start;
  r.saved[0] = start;
}

int32_t Confirmed(const Rollback& r) {
  return std::min(r.pass, r.known[1 - r.local]);
}

bool CanAdvance(const Rollback& r) {
  return r.pass - Confirmed(r) < kMaxPassesAhead;
}

PassEvents Advance(Rollback& r, CommandBits local_commands) {
  const int32_t target = r.pass + 1 + r.delay;
  r.commands[r.local][Slot(target, kCommandRing)] = local_commands;
  r.known[r.local] = target;
  ++r.pass;
  return StepAt(r, r.pass);
}

PassEvents AdvanceLocal(Rollback& r, const PassInput& input) {
  ++r.pass;
  r.inputs[Slot(r.pass, kStateRing)] = input;
  return StepAt(r, r.pass);
}

int TakeRemote(Rollback& r, int32_t first, const std::vector<CommandBits>& commands) {
  const int remote = 1 - r.local;
  int32_t wrong = 0;  // the earliest pass stepped with a wrong guess
  for (size_t i = 0; i < commands.size(); ++i) {
    const int32_t f = first + static_cast<int32_t>(i);
    // Only the next unknown pass extends what is known; older ones are repeats, and a gap
    // waits for a later message that covers it. Nothing beyond the ring is taken.
    if (f != r.known[remote] + 1 || f > r.pass + kCommandRing / 2) continue;
    r.commands[remote][Slot(f, kCommandRing)] = commands[i];
    r.known[remote] = f;
    if (f <= r.pass && wrong == 0 && r.guessed[Slot(f, kCommandRing)] != commands[i]) wrong = f;
  }
  // A right guess for f was the last known command held on: later guesses were the same, and
  // stay right unless a later known command differs, which the loop above finds.
  if (wrong == 0) return 0;
  const int again = r.pass - wrong + 1;
  StepAgainFrom(r, wrong);
  ++r.rollbacks;
  r.max_rollback = std::max(r.max_rollback, again);
  return again;
}

void StepAgainFrom(Rollback& r, int32_t first) {
  r.match = MatchAfter(r, first - 1);
  for (int32_t f = first; f <= r.pass; ++f) StepAt(r, f);
}

const Match& MatchAfter(const Rollback& r, int32_t f) {
  return r.saved[Slot(f, kStateRing)];
}

CommandBits CommandsOf(const Rollback& r, int player, int32_t f) {
  return r.commands[player][Slot(f, kCommandRing)];
}

}  // namespace brawl
