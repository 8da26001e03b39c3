#pragma once
#include <filesystem>
#include <memory>
#include <string>

#include "app/settings_form.h"
#include "game/game.h"
#include "platform/headless/headless_machine.h"
#include "platform/options.h"

namespace brawl {

// A game launched on the headless machine with the data files of the build folder, at
// 320 x 240 or 640 x 480, standing on its title screen.
struct LaunchedGame {
  Options options;
  std::unique_ptr<HeadlessMachine> machine;
  std::unique_ptr<Game> game;

  explicit LaunchedGame(bool hires) {
    options.headless = true;
    options.hires = hires;
    const std::string folder = std::string(BRAWL_BUILD_DIR) + "/";
    std::filesystem::current_path(folder);  // the sprite bitmaps are found by bare name
    machine = std::make_unique<HeadlessMachine>(options, folder);
    game = std::make_unique<Game>(machine->platform);
    game->settings.AppPath = folder;
    game->settings.form.hires_ticked = hires;
    LaunchGame(*game);
  }
};

}  // namespace brawl
