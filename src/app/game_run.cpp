#include "app/game_run.h"

#include <memory>

#include "app/data_folder.h"
#include "app/online_setup.h"
#include "app/options.h"
#include "app/player_folders.h"
#include "app/replay_files.h"
#include "app/startup.h"
#include "game/game.h"
#include "game/online_play.h"
#include "game/replay_clock.h"
#include "net/sync_test.h"

namespace brawl {

void PlayGame(Platform& machine, const Options& options, const Replay* playback, RunObserver* observer) {
  // A recording keeps every reading of the clock; a replay answers with them.
  Replay recording;
  RecordingClock recording_clock(machine.clock, recording.readings);
  ReplayClock replay_clock(machine.clock, playback != nullptr ? playback->readings : recording.readings);
  Clock& clock = playback != nullptr       ? static_cast<Clock&>(replay_clock)
                 : !options.record.empty() ? static_cast<Clock&>(recording_clock)
                                           : machine.clock;
  Platform platform{clock,         machine.keyboard,  machine.display,
                    machine.audio, machine.joysticks, machine.dialog};
  auto game = std::make_unique<Game>(platform);
  game->settings.AppPath = GameDataFolder(options);
  game->settings.ConfigFolder = ConfigFolder(options);
  game->sound.LogRequests = options.headless;
  game->observer = observer;
  game->playback = playback;
  const bool online = PlaysOnline(options);
  if (!options.record.empty() && !online) game->recording = &recording;
  SyncTest sync_test{options.force_rollback, {}};
  if (options.force_rollback > 0) game->sync_test = &sync_test;
  OnlineGame net;
  if (online) {
    SetUpOnlineGame(net, options);
    game->online = &net;
  }
  StartUp(*game);
  if (game->recording != nullptr) WriteLocalReplay(options.record, recording, *game, options);
}

}  // namespace brawl
