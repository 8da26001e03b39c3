#pragma once
#include <vector>

namespace brawl {

// What the settings window shows: which boxes are ticked and which controls can be used.
struct DialogControls {
  bool joystick_ticked[2] = {false, false};  // Check1(0), Check1(1)
  bool hires_ticked = false;                 // Check2
  bool fps_ticked = false;                   // Check3
  bool joystick_enabled[2] = {true, true};
  bool hires_enabled = true;
  bool fps_enabled = true;
  bool launch_enabled = true;  // Command1
  bool quit_enabled = true;    // Command2
};

enum class DialogEvent { Launch, Quit, Close };

class SettingsDialog {
 public:
  virtual ~SettingsDialog() = default;
  // Creates the window hidden with a client area of width x height pixels, centred.
  virtual void Place(int width, int height) = 0;
  // Brings the widgets in line with `controls`.
  virtual void Apply(const DialogControls& controls) = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  // One pass over pending window events. Reads the boxes back into `controls` and appends
  // what the user asked for, in order. With `wait` it first sleeps until at least one
  // window event has come; without, it never waits.
  virtual void Pump(DialogControls& controls, std::vector<DialogEvent>& events, bool wait) = 0;
};

}  // namespace brawl
