// One simulation pass of a one-player match: the mode step, the computer opponent and
// the shot step, with all twenty bullets and twenty splashes in the air. Nothing is
// drawn. Every pass starts from the same state, so the copy that restores it is timed
// on its own as well and can be taken off.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "game/game.h"
#include "game/mode_control.h"
#include "platform/headless/headless_machine.h"
#include "platform/options.h"
#include "sim/computer.h"
#include "sim/match.h"
#include "sim/shots.h"
#include "sound/sound.h"

namespace {

struct SimBench {
  Options options;
  std::unique_ptr<HeadlessMachine> machine;
  std::unique_ptr<Game> game;
  MatchState in_flight;

  SimBench() {
    const std::string folder = std::string(BRAWL_BUILD_DIR) + "/";
    machine = std::make_unique<HeadlessMachine>(options, folder);
    game = std::make_unique<Game>(machine->platform);
    game->settings.AppPath = folder;
    SetUpSound(*game);
    CreateMatchFrames(*game);
    ResetMatch(*game);
    game->loop.GameMode = kOnePlayer;
    game->loop.SpeedFactor = 1.0f;
    StepShots(*game);  // the cameras look at their fighters, as after any match frame
    MatchState& m = game->match;
    // The computer stands in a firing band; bullets cross the arena clear of both
    // fighters, splashes rise over them.
    m.Fighter[1].Z = -75;
    for (int i = 0; i < kSlots; ++i) {
      m.Bullet[0][i] = {-1, 10.0f + 3 * i, 1.0f, -20.0f - 2 * i, 0.0f, 0.0f, -0.989f};
      m.Bullet[1][i] = {-1, 15.0f + 3 * i, 1.0f, -90.0f + 2 * i, 0.0f, 0.0f, 0.989f};
      m.Blood[0][i] = {-1, 50.0f + 0.2f * i, 1.0f, -45.0f, 0.1f * i, 0.05f, -0.05f};
      m.Blood[1][i] = {-1, 50.0f - 0.2f * i, 1.0f, -75.0f, 0.1f * i, -0.05f, 0.05f};
    }
    in_flight = m;
  }
};

void BM_SimulationPass(benchmark::State& state) {
  SimBench bench;
  Game& g = *bench.game;
  for (auto _ : state) {
    g.match = bench.in_flight;
    StepMode(g);
    MoveComputer(g);
    StepShots(g);
    benchmark::DoNotOptimize(g.match);
  }
}
BENCHMARK(BM_SimulationPass)->Unit(benchmark::kMicrosecond);

void BM_RestoreOnly(benchmark::State& state) {
  SimBench bench;
  Game& g = *bench.game;
  for (auto _ : state) {
    g.match = bench.in_flight;
    benchmark::DoNotOptimize(g.match);
  }
}
BENCHMARK(BM_RestoreOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
