// The cost a headless run adds to every pass: writing the state dump line, with every
// bullet and splash slot busy so that each number takes its longest form.
#include "game/state_dump.h"

#include <benchmark/benchmark.h>

#include <string>

#include "game/game.h"
#include "platform/headless/headless_machine.h"
#include "platform/headless/input_script.h"

namespace brawl {
namespace {

void BM_StateDumpLine(benchmark::State& state) {
  HeadlessMachine machine(HeadlessSetup{});
  Game game(machine.platform);
  Match& m = game.match;
  for (int p = 0; p < 2; ++p) {
    m.Fighter[p] = {127.333336f,  49.9969254f,   -45.0000038f, 3.14159274f,
                    0.707106769f, -0.148340449f, -0.988936365f};
    for (int i = 0; i < kSlots; ++i) {
      m.Bullet[p][i] = {true, 20.1234567f + i, 1.00000012f, -50.9876543f, 0.123456791f, 0.f, -0.98765433f};
      m.Blood[p][i] = {true,         50.1234567f,   1.23456788f,   -45.6543198f,
                       0.333333343f, 0.0500000007f, -0.0500000007f};
    }
  }
  game.sound.Requested = {Sound::Fire, Sound::Hit};
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string line = StateDumpLine(game, 123456);
    bytes += line.size();
    benchmark::DoNotOptimize(line.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_StateDumpLine);

// Reading a long script: the cost before the launch, per line.
void BM_ParseInputScript(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < 10000; ++i) text += "# step\n" + std::to_string(1 + i % 120) + " Up Num3 Num2 S M\n";
  for (auto _ : state) {
    const InputScript script = ParseInputScript(text, 0, "bench");
    benchmark::DoNotOptimize(script.passes);
  }
  state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(BM_ParseInputScript);

}  // namespace
}  // namespace brawl

BENCHMARK_MAIN();
