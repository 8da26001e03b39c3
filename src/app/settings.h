#pragma once
#include <cstdint>
#include <string>

#include "platform/settings_dialog.h"

// Start-up values and the choices made in the settings window.
struct Settings {
  std::string AppPath;  // the program folder, with one trailing '/'
  int16_t ReadyGoWait = 0;
  DialogControls form;
  int16_t UseJoystick[2] = {0, 0};
  int16_t ScreenWidth = 0;
  int16_t ScreenHeight = 0;
  int16_t ShowFps = 0;
};
