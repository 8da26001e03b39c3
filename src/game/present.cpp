#include "game/present.h"

#include <cmath>

#include "base/pace.h"
#include "game/game.h"
#include "game/online_screens.h"
#include "net/replay.h"
#include "render/overlay.h"
#include "render/render3d.h"

namespace brawl {

namespace {

// Counts a match frame and, every second's worth of passes, measures Fps and derives
// SpeedFactor from it.
void StepFrameTiming(Game& game) {
  LoopState& loop = game.loop;
  if (loop.FpsFrameCount == kPassesPerSecond) {
    bool measured = true;
    if (loop.FpsTimer != 0.0f) {
      const float t = game.platform.clock.Seconds();
      const double interval = double(t) - double(loop.FpsTimer);
      // A clock that stood still (or went back) gives no rate: keep the last one.
      if (interval > 0) {
        loop.Fps = static_cast<float>(kPassesPerSecond / interval);
      } else {
        measured = false;
      }
    }
    loop.FpsTimer = game.platform.clock.Seconds();
    if (measured && !game.match.SpeedLock)
      loop.SpeedFactor = static_cast<float>(kPassesPerSecond / double(loop.Fps));
    loop.FpsFrameCount = 0;
  }
  ++loop.FpsFrameCount;
}

void DrawFpsLine(Game& game) {
  Surface& back = game.gfx.BackBuffer;
  SetForeColor(back, -1);
  DrawText(back, game.gfx.TextFont, 10, 10,
           FpsLineText(game.settings.ScreenWidth, game.settings.ScreenHeight, game.loop.Fps));
}

}  // namespace

void Present(Game& game) {
  const Mode mode = game.match.GameMode;
  // Online, and watching an online game, one side's view fills the screen.
  const bool one_view = game.online != nullptr || (game.playback != nullptr && game.playback->online);
  Render3D(game.gfx, game.scene, game.match, one_view && InMatch(mode) ? Mode::OnePlayer : mode);
  DrawOverlay(game.gfx, game.match, mode);
  if (InMatch(mode)) {
    StepFrameTiming(game);
    if (one_view) game.loop.SpeedFactor = 1.0f;  // measured for the frame-rate line only
    if (game.settings.ShowFps) DrawFpsLine(game);
  }
  if (game.online != nullptr) DrawOnlineOverlay(game);
  game.platform.display.Flip(game.gfx.BackBuffer);
  if (game.observer != nullptr && game.online == nullptr) game.observer->PassDone(game);
}

std::string FpsLineText(int width, int height, float fps) {
  // "#.0": as many integer digits as needed, none below 1, and one decimal.
  const long long tenths = std::llround(double(fps) * 10.0);
  const long long whole = tenths / 10;
  std::string text = std::to_string(width) + "X" + std::to_string(height) + "  fps  ";
  if (whole > 0) text += std::to_string(whole);
  text += "." + std::to_string(tenths % 10);
  return text;
}

}  // namespace brawl
