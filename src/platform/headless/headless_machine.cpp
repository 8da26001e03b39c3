#include "platform/headless/headless_machine.h"

namespace brawl {

HeadlessMachine::HeadlessMachine(const HeadlessSetup& setup)
    : clock(setup.clock_start, setup.frame_ms),
      display(clock),
      keyboard(held),
      joysticks(setup.joysticks, held),
      audio(clock),
      dialog(setup.choices),
      platform{clock, keyboard, display, audio, joysticks, dialog} {}

}  // namespace brawl
