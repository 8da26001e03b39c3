#pragma once
#include "base/pace.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_dialog.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/input_script.h"
#include "platform/headless/scripted_input.h"
#include "platform/headless/virtual_clock.h"
#include "platform/platform.h"

namespace brawl {

// What the command line asks of the virtual machine.
struct HeadlessSetup {
  double clock_start = 36000.0;  // seconds
  double frame_ms = kPassMs;
  int joysticks = 0;
  DialogChoices choices;
};

// The virtual machine of a headless run, and the Platform the game sees of it. The
// devices refer to each other and to `held`, so the machine stays where it was made.
struct HeadlessMachine {
  explicit HeadlessMachine(const HeadlessSetup& setup);
  HeadlessMachine(const HeadlessMachine&) = delete;
  HeadlessMachine& operator=(const HeadlessMachine&) = delete;

  HeldInput held;  // what the current pass holds; the run moves it on between passes
  VirtualClock clock;
  HeadlessDisplay display;
  ScriptedKeyboard keyboard;
  ScriptedJoysticks joysticks;
  HeadlessAudio audio;
  HeadlessDialog dialog;
  Platform platform;
};

}  // namespace brawl
