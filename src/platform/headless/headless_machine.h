#pragma once
#include <string>

#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_dialog.h"
#include "platform/headless/headless_display.h"
#include "platform/headless/input_script.h"
#include "platform/headless/scripted_input.h"
#include "platform/headless/virtual_clock.h"
#include "platform/platform.h"

namespace brawl {

struct Options;

// The virtual machine of a headless run, and the Platform the game sees of it. The
// devices refer to each other and to `held`, so the machine stays where it was made.
struct HeadlessMachine {
  HeadlessMachine(const Options& options, const std::string& program_folder);
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
