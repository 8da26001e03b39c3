#pragma once
#include "platform/settings_dialog.h"

namespace brawl {

// The boxes the command line ticks before the automatic launch.
struct DialogChoices {
  bool hires = false;
  bool show_fps = false;
  bool joystick[2] = {false, false};
};

// A settings window nobody sees: at its first chance it ticks what the command line asked
// for and presses the start button.
class HeadlessDialog : public SettingsDialog {
 public:
  explicit HeadlessDialog(const DialogChoices& choices) : choices_(choices) {}

  void Place(int width, int height) override;
  void Apply(const DialogControls& controls) override { applied_ = controls; }
  void Show() override { shown_ = true; }
  void Hide() override { shown_ = false; }
  // Never waits: the launch is ready at once.
  void Pump(DialogControls& controls, std::vector<DialogEvent>& events, bool wait) override;

  bool placed() const { return placed_; }
  bool shown() const { return shown_; }
  bool launched() const { return launched_; }
  int width() const { return width_; }
  int height() const { return height_; }
  const DialogControls& applied() const { return applied_; }

 private:
  DialogChoices choices_;
  DialogControls applied_;
  bool placed_ = false;
  bool shown_ = false;
  bool launched_ = false;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace brawl
