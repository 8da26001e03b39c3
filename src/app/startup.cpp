#include "app/startup.h"

#include "app/env_ini.h"
#include "app/settings_form.h"
#include "game/game.h"
#include "game/main_loop.h"
#include "input/joystick.h"
#include "net/replay.h"

namespace brawl {

void StartUp(Game& game) {
  game.actions = {LaunchGame, EndProgram, CloseRequest};
  DiscoverJoysticks(game.joy, game.platform.joysticks);
  game.platform.dialog.Place(320, 240);
  ReadSettingsFile(game.settings, "env.ini");
  if (const Replay* replay = game.playback; replay != nullptr && !replay->online) {
    // A replay is played with the choices it was recorded with.
    game.settings.ReadyGoWait = static_cast<int16_t>(replay->wait);
    game.settings.form.hires_ticked = replay->hires;
    game.settings.form.fps_ticked = replay->show_fps;
  }
  ShowSettings(game);
  game.match.GameMode = Mode::Title;
  RunMainLoop(game);
}

}  // namespace brawl
