#pragma once
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/joystick_devices.h"
#include "platform/keyboard.h"
#include "platform/settings_dialog.h"

namespace brawl {

// Everything the game reaches outside itself. Either the real machine or the headless one.
struct Platform {
  Clock& clock;
  Keyboard& keyboard;
  Display& display;
  Audio& audio;
  JoystickDevices& joysticks;
  SettingsDialog& dialog;
};

}  // namespace brawl
