#pragma once
#include <memory>
#include <string>

#include "app/settings_form.h"
#include "game/game.h"
#include "platform/headless/headless_machine.h"

namespace brawl {

// A game launched on the headless machine with the data files of the build folder, at
// 320 x 240 or 640 x 480, standing on its title screen.
struct LaunchedGame {
  std::unique_ptr<HeadlessMachine> machine;
  std::unique_ptr<Game> game;

  explicit LaunchedGame(bool hires) {
    const std::string folder = std::string(BRAWL_BUILD_DIR) + "/";
    machine = std::make_unique<HeadlessMachine>(HeadlessSetup{});
    game = std::make_unique<Game>(machine->platform);
    game->settings.AppPath = folder;
    game->settings.Form.hires_ticked = hires;
    LaunchGame(*game);
  }
};

}  // namespace brawl
