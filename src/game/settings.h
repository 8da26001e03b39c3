#pragma once
#include <cstdint>
#include <string>

#include "platform/settings_dialog.h"

namespace brawl {

// Start-up values and the choices made in the settings window.
struct Settings {
  std::string AppPath;       // the data folder, with one trailing '/'
  std::string ConfigFolder;  // the player's own env.ini and controls.ini; empty: none
  int16_t ReadyGoWait = 0;
  DialogControls Form;  // the settings window's boxes and buttons
  bool UseJoystick[2] = {false, false};
  int ScreenWidth = 0;
  int ScreenHeight = 0;
  bool ShowFps = false;
};

}  // namespace brawl
