#pragma once
#include "platform/clock.h"

namespace brawl {

// The headless run's time: it moves only when the display flips or the game pauses, so a
// run is the same on every machine.
class VirtualClock : public Clock {
 public:
  VirtualClock(double start_seconds, double flip_milliseconds)
      : start_seconds_(start_seconds), flip_milliseconds_(flip_milliseconds) {}

  float Seconds() override;
  void Pause(int milliseconds) override;

  // One flip's worth of time.
  void Flip();
  // Milliseconds since the launch's reading, summed in double.
  double ElapsedMs() const { return elapsed_ms_; }

 private:
  double start_seconds_;
  double flip_milliseconds_;
  double elapsed_ms_ = 0.0;
};

}  // namespace brawl
