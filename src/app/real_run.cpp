#include "app/real_run.h"

#include "app/controls_ini.h"
#include "app/data_folder.h"
#include "app/net_setup.h"
#include "app/options.h"
#include "app/player_folders.h"
#include "app/replay_files.h"
#include "app/startup.h"
#include "game/game.h"
#include "game/net_play.h"
#include "game/replay_clock.h"
#include "platform/sdl/real_platform.h"

namespace brawl {

int RunRealGame(const Options& options) {
  // The machine outlives the game; if a fatal error unwinds through here, the machine's
  // owners close the window and show the pointer before main prints the message.
  // A fault in the player's controls is told before any window shows.
  const Controls controls = ReadControls(ConfigFolder(options));
  Replay playback;
  if (!options.replay.empty()) playback = ReadReplay(options.replay);
  RealPlatform machine(options.windowed, controls, ScreenshotFolder());
  const Platform& m = machine.platform();
  Replay recording;
  RecordingClock recording_clock(m.clock, recording.readings);
  ReplayClock replay_clock(m.clock, playback.readings);
  Clock& clock = !options.replay.empty()   ? static_cast<Clock&>(replay_clock)
                 : !options.record.empty() ? static_cast<Clock&>(recording_clock)
                                           : m.clock;
  Platform platform{clock, m.keyboard, m.display, m.audio, m.joysticks, m.dialog};
  Game game(platform);
  game.settings.AppPath = GameDataFolder(options);
  game.settings.config_folder = ConfigFolder(options);
  if (!options.replay.empty()) game.playback = &playback;
  const bool online = options.host || !options.join.empty();
  if (!options.record.empty() && !online) game.recording = &recording;
  NetPlay net;
  if (online) {
    SetUpNetPlay(game, net, options);
    net.plan.record = options.record;
  }
  StartUp(game);
  if (game.recording != nullptr) WriteLocalReplay(options.record, recording, game, options);
  return 0;
}

}  // namespace brawl
