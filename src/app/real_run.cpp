#include "app/real_run.h"

#include "app/controls_ini.h"
#include "app/game_run.h"
#include "app/options.h"
#include "app/player_folders.h"
#include "app/replay_files.h"
#include "platform/sdl/real_platform.h"

namespace brawl {

int RunRealGame(const Options& options) {
  // A fault in the player's controls or the replay is told before any window shows.
  const Controls controls = ReadControls(ConfigFolder(options));
  Replay playback;
  if (!options.replay.empty()) playback = ReadReplay(options.replay);
  // The machine outlives the game; if a fatal error unwinds through here, the machine's
  // owners close the window and show the pointer before main prints the message.
  RealPlatform machine(options.windowed, controls, ScreenshotFolder());
  PlayGame(machine.platform(), options, options.replay.empty() ? nullptr : &playback, nullptr);
  return 0;
}

}  // namespace brawl
