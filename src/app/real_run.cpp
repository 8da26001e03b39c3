#include "app/real_run.h"

#include "app/controls_ini.h"
#include "app/net_setup.h"
#include "app/startup.h"
#include "game/game.h"
#include "game/net_play.h"
#include "platform/options.h"
#include "platform/player_folders.h"
#include "platform/sdl/real_platform.h"

namespace brawl {

int RunRealGame(const Options& options) {
  // The machine outlives the game; if a fatal error unwinds through here, the machine's
  // owners close the window and show the pointer before main prints the message.
  // A fault in the player's controls is told before any window shows.
  const Controls controls = ReadControls(ConfigFolder(options));
  RealPlatform machine(options, controls);
  Game game(machine.platform());
  NetPlay net;
  if (options.host || !options.join.empty()) SetUpNetPlay(game, net, options);
  StartUp(game);
  return 0;
}

}  // namespace brawl
