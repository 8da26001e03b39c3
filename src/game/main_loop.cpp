#include "game/main_loop.h"

#include <algorithm>

#include "game/commands.h"
#include "game/event_pump.h"
#include "game/game.h"
#include "game/online_play.h"
#include "game/present.h"
#include "game/shutdown.h"
#include "net/net_step.h"
#include "net/replay.h"
#include "net/session.h"
#include "net/sync_test.h"
#include "render/overlay.h"
#include "render/render3d.h"
#include "sim/pass.h"
#include "sound/sound.h"

namespace brawl {

namespace {

// The opening position goes on screen and holds still while the start cue plays; nothing
// is sampled or pumped during the pause.
void RunStartSequence(Game& game) {
  const Mode mode = game.match.GameMode;
  SetUpViewports(game.gfx, mode);
  Render3D(game.gfx, game.scene, game.match, mode);
  DrawOverlay(game.gfx, game.match, mode);
  game.platform.display.Flip(game.gfx.BackBuffer);
  // A window closed just now ends the run at the end of this pass; no need to wait.
  if (TakeCloseRequests(game)) return;
  PlaySound(game.sound, game.platform.audio, Sound::ReadyGo);
  // env.ini may hold a negative wait; it counts as none.
  game.platform.clock.Pause(std::max<int>(0, game.settings.ReadyGoWait));
}

// A pass of an online game's replay, as the online game stepped it.
PassEvents StepOnlineReplay(Game& game) {
  const Replay& replay = *game.playback;
  const int32_t pass = static_cast<int32_t>(game.passes);
  if (pass == 1) {
    game.match = OnlineStart(replay.seed);
    game.loop.SpeedFactor = 1.0f;
    SetUpOnlineView(game.gfx, 0);
  }
  const size_t at = static_cast<size_t>(pass - 1);
  const uint32_t both = at < replay.online_passes.size() ? replay.online_passes[at] : 0;
  PassEvents events = NetStep(game.match, replay.seed, pass, static_cast<CommandBits>(both & 0xFFFF),
                              static_cast<CommandBits>(both >> 16));
  events.match_started = false;  // online the match starts without the start cue's pause
  return events;
}

PassEvents StepMatch(Game& game, const Commands& commands) {
  if (game.online != nullptr) return StepOnline(game, commands);
  if (game.playback != nullptr && game.playback->online) return StepOnlineReplay(game);
  const PassInput input{commands, game.loop.SpeedFactor, game.platform.clock.Seconds()};
  if (game.sync_test != nullptr) return StepSyncTest(*game.sync_test, game.match, input);
  return StepPass(game.match, input);
}

}  // namespace

void RunPass(Game& game) {
  // Online, the network decides whether this pass steps the match, or only shows a picture.
  bool step = true;
  if (game.online != nullptr) {
    if (!PollOnline(game)) return;
    step = ReadyToStep(game);
  } else if (game.observer != nullptr && !game.observer->NextInput(game)) {
    game.loop.Running = false;
    return;
  }
  ++game.passes;
  UpdateSounds(game.sound, game.platform.audio);
  const Commands commands = ReadCommands(game);
  // A replay that has run out holds its last picture until its watcher leaves.
  if (game.playback != nullptr && game.passes > ReplayPasses(*game.playback)) step = false;
  // Escape is for the rules to see in a local run; online, watching an online game, or once
  // nothing is stepped any more, it leaves at once.
  if (commands.escape && game.online != nullptr) return LeaveOnline(game);
  if (commands.escape && (!step || (game.playback != nullptr && game.playback->online))) return EndRun(game);
  const PassEvents events = step ? StepMatch(game, commands) : PassEvents{};
  if (events.escape) return EndRun(game);
  if (events.match_started) RunStartSequence(game);
  for (int i = 0; i < events.sound_count; ++i) PlaySound(game.sound, game.platform.audio, events.sounds[i]);
  Present(game);
}

void RunMainLoop(Game& game) {
  while (!game.loop.Ending) {
    if (TakeCloseRequests(game)) {
      // Online, the other side hears of it as of Escape.
      if (game.online != nullptr && game.online->connected && !game.loop.Ending) LeaveOnline(game);
      return;
    }
    RunPass(game);
  }
}

}  // namespace brawl
