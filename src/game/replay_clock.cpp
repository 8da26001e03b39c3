#include "game/replay_clock.h"

namespace brawl {

float RecordingClock::Seconds() {
  const float reading = inner_.Seconds();
  readings_.push_back(reading);
  return reading;
}

float ReplayClock::Seconds() {
  const float live = inner_.Seconds();
  return next_ < readings_.size() ? readings_[next_++] : live;
}

}  // namespace brawl
