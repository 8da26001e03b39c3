#include "game/main_loop.h"

#include <cmath>

#include "game/event_pump.h"
#include "game/game.h"
#include "game/mode_control.h"
#include "render/overlay.h"
#include "render/render3d.h"
#include "sim/computer.h"
#include "sound/sound.h"

namespace {

bool InMatchMode(int16_t mode) { return mode == kOnePlayer || mode == kTwoPlayers; }

void DrawFpsLine(Game& game) {
  Surface& back = game.gfx.BackBuffer;
  SetForeColor(back, -1);
  DrawText(back, game.gfx.font, 10, 10,
           FpsLineText(game.settings.ScreenWidth, game.settings.ScreenHeight, game.loop.Fps));
}

}  // namespace

void RunMainLoop(Game& game) {
  LoopState& loop = game.loop;
  loop.Running = -1;
  while (loop.Running != 0) {
    if (loop.InMatch == -1) {
      ++game.passes;
      UpdateSounds(game);
      CheckMatchEnd(game);
      StepMode(game);
      if (loop.ending) return;  // Escape: nothing more of the pass runs
      if (loop.GameMode == kOnePlayer) MoveComputer(game);
      Render3D(game, loop.GameMode);
      DrawOverlay(game, loop.GameMode);
      if (InMatchMode(loop.GameMode)) {
        StepFrameTiming(game);
        if (game.settings.ShowFps == -1) DrawFpsLine(game);
      }
      game.platform.display.Flip(game.gfx.BackBuffer);
      if (game.observer) game.observer->PassDone(game);
    }
    PumpWindowEvents(game);
    if (loop.ending) return;
  }
}

void CheckMatchEnd(Game& game) {
  LoopState& loop = game.loop;
  if (!(game.match.Fighter[0].Life > 0)) {
    loop.Winner = 2;
  } else if (!(game.match.Fighter[1].Life > 0)) {
    loop.Winner = 1;
  } else {
    return;
  }
  loop.SpeedLock = 1;
  loop.GameMode = kResult;
}

void StepFrameTiming(Game& game) {
  LoopState& loop = game.loop;
  if (loop.FpsFrameCount == 60) {
    bool measured = true;
    if (loop.FpsTimer != 0.0f) {
      const float t = game.platform.clock.Seconds();
      const double interval = double(t) - double(loop.FpsTimer);
      // A clock that stood still (or went back) gives no rate: keep the last one.
      if (interval > 0) {
        loop.Fps = static_cast<float>(60.0 / interval);
      } else {
        measured = false;
      }
    }
    loop.FpsTimer = game.platform.clock.Seconds();
    if (measured && loop.SpeedLock == 0) loop.SpeedFactor = static_cast<float>(60.0 / double(loop.Fps));
    loop.FpsFrameCount = 0;
  }
  ++loop.FpsFrameCount;
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
