#include "platform/headless/virtual_clock.h"

namespace brawl {

float VirtualClock::Seconds() {
  return static_cast<float>(start_seconds_ + elapsed_ms_ / 1000.0);
}

void VirtualClock::Pause(int milliseconds) {
  if (milliseconds > 0) elapsed_ms_ += milliseconds;
}

void VirtualClock::Flip() {
  elapsed_ms_ += flip_milliseconds_;
}

}  // namespace brawl
