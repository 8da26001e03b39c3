#include "game/mode_control.h"

#include <algorithm>

#include "game/commands.h"
#include "game/event_pump.h"
#include "game/game.h"
#include "game/shutdown.h"
#include "render/overlay.h"
#include "render/render3d.h"
#include "sim/fighter_motion.h"
#include "sim/match.h"
#include "sim/shots.h"
#include "sound/sound.h"

namespace {

// The opening position goes on screen and holds still while the start cue plays; nothing
// is sampled or pumped during the pause.
void StartMatch(Game& game) {
  const int16_t mode = game.loop.TitleChoice;
  game.loop.GameMode = mode;
  SetUpViewports(game, mode);
  Render3D(game, mode);
  DrawOverlay(game, mode);
  game.platform.display.Flip(game.gfx.BackBuffer);
  PumpWindowEvents(game);
  // A window closed just now ends the run at the end of this pass; no need to wait.
  if (game.loop.Running == 0 || game.loop.ending) return;
  PlaySound(game, "readygo.wav");
  // env.ini may hold a negative wait; it counts as none.
  game.platform.clock.Pause(std::max<int>(0, game.settings.ReadyGoWait));
}

void StepTitle(Game& game, const Commands& commands) {
  if (commands.Pressed(Commands::Enter)) StartMatch(game);
  // Levels, not presses: the cursor follows the held direction, and down wins.
  if (commands.Pressed(0, Commands::Forward)) game.loop.TitleChoice = 1;
  if (commands.Pressed(0, Commands::Back)) game.loop.TitleChoice = 2;
}

void StepOnePlayer(Game& game, const Commands& commands) {
  AimFromCameras(game);
  MoveFighter(game, 0, commands);
  TurnFighter(game, 0, commands);
  if (commands.Pressed(0, Commands::Fire)) Fire(game, 0);
  PlaceFighters(game);
}

void StepTwoPlayers(Game& game, const Commands& commands) {
  AimFromCameras(game);
  MoveFighter(game, 0, commands);
  MoveFighter(game, 1, commands);
  TurnFighter(game, 0, commands);
  TurnFighter(game, 1, commands);
  if (commands.Pressed(0, Commands::Fire)) Fire(game, 0);
  if (commands.Pressed(1, Commands::Fire)) Fire(game, 1);
  PlaceFighters(game);
}

void StepResult(Game& game, const Commands& commands) {
  if (!commands.Pressed(Commands::Space)) return;
  game.loop.GameMode = kTitle;
  ResetMatch(game);
}

}  // namespace

void StepMode(Game& game) {
  const Commands commands = SampleCommands(game);
  switch (game.loop.GameMode) {
    case kTitle:
      StepTitle(game, commands);
      break;
    case kOnePlayer:
      StepOnePlayer(game, commands);
      break;
    case kTwoPlayers:
      StepTwoPlayers(game, commands);
      break;
    case kResult:
      StepResult(game, commands);
      break;
    default:
      break;
  }
  if (commands.Pressed(Commands::Escape)) {
    ReleaseObjects(game);
    RestoreDisplay(game);
    game.loop.ending = true;
  }
}
