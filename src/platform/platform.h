#pragma once
#include <string>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/joystick_devices.h"
#include "platform/keyboard.h"
#include "platform/settings_dialog.h"

namespace brawl {

// Everything the game reaches outside itself. Either the real machine or the headless one.
struct Platform {
  std::string program_folder;  // where the data files are: see DataFolder, or --app-path
  Clock& clock;
  Keyboard& keyboard;
  Display& display;
  Audio& audio;
  JoystickDevices& joysticks;
  SettingsDialog& dialog;
  std::string executable_folder = {};  // where the running executable is, or --app-path
  std::string config_folder = {};      // the player's own settings; empty: none
};

}  // namespace brawl
