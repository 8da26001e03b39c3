#include "platform/sdl/sdl_clock.h"

#include <thread>

namespace brawl {

float SdlClock::Seconds() {
  const std::chrono::duration<double> since = std::chrono::steady_clock::now() - start_;
  return static_cast<float>(since.count());
}

void SdlClock::Pause(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace brawl
