#pragma once
#include <chrono>

#include "platform/clock.h"

namespace brawl {

// The machine's monotonic clock, counted from the program's start so that a float still
// resolves well under a millisecond after days of running.
class SdlClock final : public Clock {
 public:
  float Seconds() override;
  void Pause(int milliseconds) override;

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace brawl
