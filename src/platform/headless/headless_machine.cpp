#include "platform/headless/headless_machine.h"

#include "platform/options.h"
#include "platform/player_folders.h"
#include "platform/program_folder.h"

namespace brawl {

namespace {

DialogChoices ChoicesOf(const Options& options) {
  DialogChoices choices;
  choices.hires = options.hires;
  choices.show_fps = options.show_fps;
  choices.joystick[0] = options.joystick[0];
  choices.joystick[1] = options.joystick[1];
  return choices;
}

}  // namespace

HeadlessMachine::HeadlessMachine(const Options& options, const std::string& program_folder)
    : clock(options.clock_start, options.frame_ms),
      display(clock),
      keyboard(held),
      joysticks(options.joysticks, held),
      audio(clock),
      dialog(ChoicesOf(options)),
      platform{AsFolder(program_folder),
               clock,
               keyboard,
               display,
               audio,
               joysticks,
               dialog,
               options.app_path.empty() ? ProgramFolder() : AsFolder(options.app_path),
               ConfigFolder(options)} {}

}  // namespace brawl
