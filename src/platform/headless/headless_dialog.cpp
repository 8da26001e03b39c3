#include "platform/headless/headless_dialog.h"

namespace brawl {

void HeadlessDialog::Place(int width, int height) {
  placed_ = true;
  width_ = width;
  height_ = height;
}

void HeadlessDialog::Pump(DialogControls& controls, std::vector<DialogEvent>& events, bool /*wait*/) {
  // The start button works once.
  if (launched_ || !controls.launch_enabled) return;
  // The presets stay ticked; the command line can only add ticks, and only where the
  // window would let a user tick.
  if (choices_.hires && controls.hires_enabled) controls.hires_ticked = true;
  if (choices_.show_fps && controls.fps_enabled) controls.fps_ticked = true;
  for (int p = 0; p < 2; ++p) {
    if (choices_.joystick[p] && controls.joystick_enabled[p]) controls.joystick_ticked[p] = true;
  }
  applied_ = controls;
  launched_ = true;
  events.push_back(DialogEvent::Launch);
}

}  // namespace brawl
