#include "game/replay_clock.h"

namespace brawl {

float RecordingClock::Seconds() {
  const float reading = inner_.Seconds();
  readings_.push_back(reading);
  return reading;
}

float ReplayClock::Seconds() {
  return next_ < readings_.size() ? readings_[next_++] : inner_.Seconds();
}

}  // namespace brawl
