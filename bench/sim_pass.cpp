// The match core alone: the cost of saving (copying) the match, of one pass of the rules with
// all forty shots in the air, and of a rollback of 8 frames (restore, then step again 8 times),
// in the one-player match (the computer moves too) and the two-player match. Nothing is drawn.
#include <benchmark/benchmark.h>

#include "match_in_flight.h"
#include "sim/pass.h"

namespace brawl {
namespace {

Match InFlight(Mode mode) {
  Match m = NewMatch();
  PassEvents events;
  ResetMatch(m, 36000.0f, events);
  PutEveryShotInFlight(m, mode);
  return m;
}

PassInput Firing() {
  PassInput input;
  input.commands.player[0].fire = input.commands.player[1].fire = true;
  input.commands.player[0].forward = input.commands.player[1].turn_left = true;
  input.clock = 36000.0f;
  return input;
}

void BM_SaveMatch(benchmark::State& state) {
  const Match m = InFlight(Mode::TwoPlayers);
  Match saved;
  for (auto _ : state) {
    saved = m;
    benchmark::DoNotOptimize(saved);
    benchmark::ClobberMemory();
  }
  state.counters["bytes"] = sizeof(Match);
}
BENCHMARK(BM_SaveMatch)->Unit(benchmark::kNanosecond);

void BM_Pass(benchmark::State& state) {
  const Match start = InFlight(static_cast<Mode>(state.range(0)));
  const PassInput input = Firing();
  Match m = start;
  for (auto _ : state) {
    m = start;  // every shot back in the air
    benchmark::DoNotOptimize(StepPass(m, input));
  }
}
BENCHMARK(BM_Pass)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_Rollback8(benchmark::State& state) {
  const Match confirmed = InFlight(Mode::TwoPlayers);
  const PassInput input = Firing();
  Match m = confirmed;
  for (auto _ : state) {
    m = confirmed;
    for (int frame = 0; frame < 8; ++frame) benchmark::DoNotOptimize(StepPass(m, input));
  }
}
BENCHMARK(BM_Rollback8)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brawl

BENCHMARK_MAIN();
