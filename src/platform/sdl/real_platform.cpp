#include "platform/sdl/real_platform.h"

#include <gtk/gtk.h>

#include <cstdlib>
#include <optional>

#include "base/fatal_error.h"
#include "base/i18n.h"
#include "platform/controls.h"
#include "platform/gtk/gtk_settings_dialog.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_joysticks.h"
#include "platform/sdl/sdl_keyboard.h"
#include "platform/sdl/sdl_window_icon.h"

namespace brawl {

namespace {

// SDL quits last of all, after every part that used it.
struct SdlSession {
  SdlSession() {
    // Ctrl+C in the terminal ends the program as usual, also before the game window exists.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Pads are read whether or not the game's window has the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // The desktop entry's class (StartupWMClass) on the game window too, so that a dock
    // shows both windows under the game's entry. SDL 2 reads it from the environment only;
    // a class the player chose stays.
    setenv("SDL_VIDEO_X11_WMCLASS", BRAWL_APP_ID, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", BRAWL_APP_ID, 0);
  }
  ~SdlSession() {
    if (!abandoned) SDL_Quit();
  }
  // A game window destroyed from outside: SDL would wait for ever to see it unmapped.
  bool abandoned = false;
};

}  // namespace

struct RealPlatform::Parts {
  Parts(bool windowed, const Controls& controls, const std::string& screenshot_folder) : display(windowed) {
    keyboard.UseKeyMap(controls.keys);
    display.AnswerWindowKeys(keyboard, screenshot_folder);
    const std::string icon = AppIconFile();
    display.UseIcon(icon);
    joysticks.ChoosePads(controls.pads);
    // Joysticks start before the settings window. Without them the game still runs, on
    // the keyboard.
    StartJoystickInput(joystick_input);
    // The language is set already, numbers in the C locale's form: GTK leaves it so.
    gtk_disable_setlocale();
    if (gtk_init_check(nullptr, nullptr) != TRUE) {
      throw Fatal(_("cannot open the settings window"), DisplayName(),
                  NoDisplayReason(_("GTK cannot open it")));
    }
    dialog.emplace(icon);
    platform.emplace(Platform{clock, keyboard, display, audio, joysticks, *dialog});
  }

  ~Parts() { session.abandoned = display.Destroyed(); }

  SdlSession session;
  SdlSubsystem joystick_input;
  SdlClock clock;
  SdlKeyboard keyboard;
  SdlDisplay display;
  SdlAudio audio;
  SdlJoystickDevices joysticks;
  std::optional<GtkSettingsDialog> dialog;
  std::optional<Platform> platform;
};

RealPlatform::RealPlatform(bool windowed, const Controls& controls, const std::string& screenshot_folder)
    : parts_(std::make_unique<Parts>(windowed, controls, screenshot_folder)) {}

RealPlatform::~RealPlatform() = default;

Platform& RealPlatform::platform() {
  return *parts_->platform;
}

}  // namespace brawl
