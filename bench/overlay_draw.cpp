// The 2-D overlay of each screen at both sizes, on a launched headless game: the title
// (a black box, the title and the cursor, stretched at 640 x 480), the two life bars, the
// result banner with its prompt, and the frame-rate line. Every frame draws one of them.
#include <benchmark/benchmark.h>

#include "launched_game.h"
#include "render/overlay.h"

namespace brawl {
namespace {

Game& GameAt(int width) {
  static LaunchedGame low(false), high(true);
  return width == 640 ? *high.game : *low.game;
}

void BM_Overlay(benchmark::State& state, Mode mode) {
  Game& game = GameAt(static_cast<int>(state.range(0)));
  game.match.TitleChoice = 2;
  game.match.Winner = 2;
  game.match.Fighter[0].Life = 100;
  game.match.Fighter[1].Life = 37;
  for (auto _ : state) {
    DrawOverlay(game.gfx, game.match, mode);
    benchmark::DoNotOptimize(game.gfx.BackBuffer.pixels.data());
  }
}

void BM_FrameRateLine(benchmark::State& state) {
  Game& game = GameAt(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    SetForeColor(game.gfx.BackBuffer, -1);
    DrawText(game.gfx.BackBuffer, game.gfx.TextFont, 10, 10, "640X480  fps  59.9");
    benchmark::DoNotOptimize(game.gfx.BackBuffer.pixels.data());
  }
}

BENCHMARK_CAPTURE(BM_Overlay, title, Mode::Title)->Arg(320)->Arg(640);
BENCHMARK_CAPTURE(BM_Overlay, match, Mode::TwoPlayers)->Arg(320)->Arg(640);
BENCHMARK_CAPTURE(BM_Overlay, result, Mode::Result)->Arg(320)->Arg(640);
BENCHMARK(BM_FrameRateLine)->Arg(320)->Arg(640);

}  // namespace
}  // namespace brawl

BENCHMARK_MAIN();
