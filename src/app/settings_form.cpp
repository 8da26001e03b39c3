#include "app/settings_form.h"

#include "game/game.h"
#include "render/assets.h"
#include "render/display_setup.h"
#include "sim/match.h"
#include "sound/sound.h"

void ShowSettings(Game& game) {
  DialogControls& form = game.settings.form;
  form.joystick_enabled[0] = game.joy.JoystickCount >= 1;
  form.joystick_enabled[1] = game.joy.JoystickCount >= 2;
  game.platform.dialog.Apply(form);
  game.platform.dialog.Show();
}

void LaunchGame(Game& game) {
  Settings& s = game.settings;
  s.UseJoystick[0] = s.form.joystick_ticked[0] ? -1 : 0;
  s.UseJoystick[1] = s.form.joystick_ticked[1] ? -1 : 0;
  s.ScreenWidth = s.form.hires_ticked ? 640 : 320;
  s.ScreenHeight = s.form.hires_ticked ? 480 : 240;
  s.ShowFps = s.form.fps_ticked ? -1 : 0;
  game.platform.dialog.Hide();
  SetUpDisplay(game);
  SetUpSound(game);
  LoadAssets(game);
  ResetMatch(game);
  game.loop.InMatch = -1;
  game.loop.Fps = 60.0f;
  s.form.joystick_enabled[0] = s.form.joystick_enabled[1] = false;
  s.form.hires_enabled = s.form.fps_enabled = false;
  s.form.launch_enabled = s.form.quit_enabled = false;
  game.platform.dialog.Apply(s.form);
  game.platform.display.ShowPointer(false);
  if (game.observer) game.observer->Launched(game);
}

void EndProgram(Game& game) { game.loop.ending = true; }

void CloseRequest(Game& game) { game.loop.Running = 0; }
