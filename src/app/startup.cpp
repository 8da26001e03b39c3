#include "app/startup.h"

#include "app/env_ini.h"
#include "app/settings_form.h"
#include "game/event_pump.h"
#include "game/game.h"
#include "game/main_loop.h"
#include "input/joystick.h"
#include "net/replay.h"

namespace brawl {

namespace {

// Until the launch only the settings window's events run: its start and quit buttons and its
// close box.
void RunSettingsWindow(Game& game) {
  LoopState& loop = game.loop;
  while (loop.Running && !loop.Ending && !loop.InMatch) {
    for (const DialogEvent event : PumpWindowEvents(game)) {
      if (event == DialogEvent::Launch && !loop.InMatch) LaunchGame(game);
      if (event == DialogEvent::Quit && !loop.InMatch) loop.Ending = true;
      if (event == DialogEvent::Close) loop.Running = false;
      if (loop.Ending) return;
    }
  }
}

}  // namespace

void StartUp(Game& game) {
  DiscoverJoysticks(game.joy, game.platform.joysticks);
  game.platform.dialog.Place(320, 240);
  ApplyEnvIni(game.settings);
  if (const Replay* replay = game.playback; replay != nullptr && !replay->online) {
    // A replay is played with the choices it was recorded with.
    game.settings.ReadyGoWait = static_cast<int16_t>(replay->wait);
    game.settings.Form.hires_ticked = replay->hires;
    game.settings.Form.fps_ticked = replay->show_fps;
  }
  ShowSettings(game);
  game.match.GameMode = Mode::Title;
  game.loop.Running = true;
  RunSettingsWindow(game);
  if (game.loop.InMatch && game.loop.Running && !game.loop.Ending) RunMainLoop(game);
}

}  // namespace brawl
