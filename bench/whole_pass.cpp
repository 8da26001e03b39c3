// One whole pass of a two-player match with every bullet and splash in the air: the
// simulation, the 3-D render of both views, the overlay and the copy of the picture to
// the screen. Measured against the least any pass must do at that size: clear the back
// buffer and the depth buffer and copy the picture. Both are timed in turn, in the same
// run, and reported as medians with their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "game/main_loop.h"
#include "launched_game.h"
#include "match_in_flight.h"
#include "render/overlay.h"
#include "render/render3d.h"
#include "render/viewport.h"
#include "sound/sound.h"

namespace brawl {
namespace {

using Clock = std::chrono::steady_clock;

struct Bench : LaunchedGame {
  Match in_flight;
  std::vector<uint16_t> screen;  // where the flip copies the picture to
  Viewport3D whole_screen;

  explicit Bench(bool hires) : LaunchedGame(hires) {
    game->loop.SpeedFactor = 1.0f;
    in_flight = game->match;
    PutEveryShotInFlight(in_flight, Mode::TwoPlayers);
    SetUpViewports(game->gfx, Mode::TwoPlayers);
    screen.resize(game->gfx.BackBuffer.pixels.size());
    whole_screen = CreateViewport(game->gfx.Nodes.Camera[0], 0, 0, game->settings.ScreenWidth,
                                  game->settings.ScreenHeight);
  }

  void Present() {
    std::memcpy(screen.data(), game->gfx.BackBuffer.pixels.data(), screen.size() * sizeof(uint16_t));
    benchmark::ClobberMemory();
  }

  void WholePass() {
    Game& g = *game;
    g.match = in_flight;  // every shot back in the air, so that each pass draws forty
    RunPass(g);
    Present();
  }

  // The whole back buffer and depth buffer cleared as one view, and the copy.
  void Floor() {
    Graphics& g = game->gfx;
    Clear(whole_screen, game->scene, g.Device, g.BackBuffer);
    Present();
  }
};

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double>& v) {
  std::nth_element(v.begin(), v.begin() + static_cast<ptrdiff_t>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

void BM_WholePass(benchmark::State& state) {
  Bench bench(state.range(0) == 640);
  std::vector<double> pass, floor;
  pass.reserve(1 << 20);
  floor.reserve(1 << 20);
  for (int i = 0; i < 20; ++i) bench.WholePass();  // scratch space grows in the first frames
  for (auto _ : state) {
    const auto t0 = Clock::now();
    bench.Floor();
    const auto t1 = Clock::now();
    bench.WholePass();
    const auto t2 = Clock::now();
    floor.push_back(Seconds(t1 - t0));
    pass.push_back(Seconds(t2 - t1));
    state.SetIterationTime(Seconds(t2 - t1));
  }
  if (pass.empty() || pass.size() >= pass.capacity()) return;
  const double pass_median = Median(pass), floor_median = Median(floor);
  state.counters["pass_ms"] = pass_median * 1e3;
  state.counters["floor_ms"] = floor_median * 1e3;
  state.counters["ratio"] = pass_median / floor_median;
  state.SetLabel(std::to_string(bench.game->gfx.BackBuffer.width) + "x" +
                 std::to_string(bench.game->gfx.BackBuffer.height));
}

BENCHMARK(BM_WholePass)->Arg(640)->Arg(320)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace
}  // namespace brawl

BENCHMARK_MAIN();
