#pragma once
#include "platform/display.h"

namespace brawl {

class VirtualClock;

// A screen nobody sees: flipping only moves the virtual clock on.
class HeadlessDisplay : public Display {
 public:
  explicit HeadlessDisplay(VirtualClock& clock) : clock_(clock) {}

  void Open(int width, int height) override;
  void Flip(const Surface& back_buffer) override;
  void ShowPointer(bool) override {}
  void Restore() override {}
  bool Pump() override { return false; }

  int width() const { return width_; }
  int height() const { return height_; }
  bool opened() const { return opened_; }

 private:
  VirtualClock& clock_;
  bool opened_ = false;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace brawl
