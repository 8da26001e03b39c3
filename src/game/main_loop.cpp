#include "game/main_loop.h"

#include <algorithm>
#include <cmath>

#include "game/commands.h"
#include "game/event_pump.h"
#include "game/game.h"
#include "game/net_play.h"
#include "game/shutdown.h"
#include "net/replay.h"
#include "render/overlay.h"
#include "render/render3d.h"
#include "sim/pass.h"
#include "sound/sound.h"

namespace brawl {

void DrawFpsLine(Game& game) {
  Surface& back = game.gfx.BackBuffer;
  SetForeColor(back, -1);
  DrawText(back, game.gfx.font, 10, 10,
           FpsLineText(game.settings.ScreenWidth, game.settings.ScreenHeight, game.loop.Fps));
}

namespace {

// The opening position goes on screen and holds still while the start cue plays; nothing
// is sampled or pumped during the pause.
void RunStartSequence(Game& game) {
  const Mode mode = game.match.GameMode;
  SetUpViewports(game.gfx, mode);
  Render3D(game.gfx, game.scene, game.match, mode);
  DrawOverlay(game.gfx, game.match, mode);
  game.platform.display.Flip(game.gfx.BackBuffer);
  PumpWindowEvents(game);
  // A window closed just now ends the run at the end of this pass; no need to wait.
  if (!game.loop.Running || game.loop.ending) return;
  PlaySound(game.sound, game.platform.audio, Sound::ReadyGo);
  // env.ini may hold a negative wait; it counts as none.
  game.platform.clock.Pause(std::max<int>(0, game.settings.ReadyGoWait));
}

}  // namespace

void RunPass(Game& game) {
  LoopState& loop = game.loop;
  ++game.passes;
  UpdateSounds(game.sound, game.platform.audio);
  if (game.playback != nullptr && game.playback->online) {
    RunOnlineReplayFrame(game);
    return;
  }
  Commands commands = SampleCommands(game);
  if (game.playback != nullptr) {
    const auto& passes = game.playback->passes;
    const size_t at = static_cast<size_t>(game.passes - 1);
    const bool quit = commands.escape;  // the player watching may still leave
    commands = at < passes.size() ? FromReplayPass(passes[at]) : Commands{};
    commands.escape = commands.escape || quit;
  }
  if (game.recording != nullptr) game.recording->passes.push_back(ToReplayPass(commands));
  const PassInput input{commands, loop.SpeedFactor, game.platform.clock.Seconds()};
  if (game.force_rollback > 0) {
    game.stepped.emplace_back(game.match, input);
    if (game.stepped.size() > static_cast<size_t>(game.force_rollback)) game.stepped.pop_front();
  }
  const PassEvents events = StepPass(game.match, input);
  if (game.force_rollback > 0) {
    Match again = game.stepped.front().first;
    for (const auto& [before, stepped_input] : game.stepped) StepPass(again, stepped_input);
    game.match = again;
  }
  if (events.match_started) RunStartSequence(game);
  for (int i = 0; i < events.sound_count; ++i) PlaySound(game.sound, game.platform.audio, events.sounds[i]);
  if (events.escape) {
    ReleaseObjects(game);
    RestoreDisplay(game);
    loop.ending = true;
    return;
  }
  const Mode mode = game.match.GameMode;
  Render3D(game.gfx, game.scene, game.match, mode);
  DrawOverlay(game.gfx, game.match, mode);
  if (InMatch(mode)) {
    StepFrameTiming(game);
    if (game.settings.ShowFps) DrawFpsLine(game);
  }
  game.platform.display.Flip(game.gfx.BackBuffer);
  if (game.observer) game.observer->PassDone(game);
}

void RunMainLoop(Game& game) {
  LoopState& loop = game.loop;
  loop.Running = true;
  while (loop.Running) {
    if (loop.InMatch) {
      if (game.net) {
        RunNetTick(game);
      } else {
        RunPass(game);
      }
      if (loop.ending) return;
    }
    PumpWindowEvents(game);
    if (loop.ending) return;
  }
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
    if (measured && !game.match.SpeedLock) loop.SpeedFactor = static_cast<float>(60.0 / double(loop.Fps));
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

}  // namespace brawl
