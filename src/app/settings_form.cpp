#include "app/settings_form.h"

#include "game/game.h"
#include "render/assets.h"
#include "render/display_setup.h"
#include "sim/pass.h"
#include "sound/sound.h"

namespace brawl {

void ShowSettings(Game& game) {
  DialogControls& form = game.settings.Form;
  form.joystick_enabled[0] = game.joy.JoystickCount >= 1;
  form.joystick_enabled[1] = game.joy.JoystickCount >= 2;
  game.platform.dialog.Apply(form);
  game.platform.dialog.Show();
}

void LaunchGame(Game& game) {
  Settings& s = game.settings;
  s.UseJoystick[0] = s.Form.joystick_ticked[0];
  s.UseJoystick[1] = s.Form.joystick_ticked[1];
  s.ScreenWidth = s.Form.hires_ticked ? 640 : 320;
  s.ScreenHeight = s.Form.hires_ticked ? 480 : 240;
  s.ShowFps = s.Form.fps_ticked;
  game.platform.dialog.Hide();
  SetUpDisplay(game.gfx, game.platform.display, s.ScreenWidth, s.ScreenHeight);
  SetUpSound(game.sound, game.platform.audio, s.AppPath);
  LoadAssets(game.gfx, game.scene, s.AppPath);
  PassEvents events;
  ResetMatch(game.match, game.platform.clock.Seconds(), events);
  for (int i = 0; i < events.sound_count; ++i) PlaySound(game.sound, game.platform.audio, events.sounds[i]);
  game.loop.InMatch = true;
  game.loop.Fps = 60.0f;
  s.Form.joystick_enabled[0] = s.Form.joystick_enabled[1] = false;
  s.Form.hires_enabled = s.Form.fps_enabled = false;
  s.Form.launch_enabled = s.Form.quit_enabled = false;
  game.platform.dialog.Apply(s.Form);
  game.platform.display.ShowPointer(false);
  if (game.observer) game.observer->Launched(game);
}

}  // namespace brawl
