#include "app/startup.h"

#include "app/env_ini.h"
#include "app/settings_form.h"
#include "game/game.h"
#include "game/main_loop.h"
#include "input/joystick.h"

void StartUp(Game& game) {
  std::string path = game.platform.program_folder;
  if (path.empty() || path.back() != '/') path += '/';
  game.settings.AppPath = path;
  DiscoverJoysticks(game);
  game.platform.dialog.Place(320, 240);
  ReadSettingsFile(game, "env.ini");
  ShowSettings(game);
  game.loop.GameMode = kTitle;
  RunMainLoop(game);
}
