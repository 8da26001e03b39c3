#pragma once
#include <cstddef>
#include <vector>

#include "platform/clock.h"

namespace brawl {

// Keeps every reading of the clock it wraps, for a replay.
class RecordingClock : public Clock {
 public:
  RecordingClock(Clock& inner, std::vector<float>& readings) : inner_(inner), readings_(readings) {}
  float Seconds() override;
  void Pause(int milliseconds) override { inner_.Pause(milliseconds); }

 private:
  Clock& inner_;
  std::vector<float>& readings_;
};

// Answers with a replay's readings, in order, and with the clock it wraps once they run out;
// pauses go on to that clock, so that what is timed by it (sounds) runs as it did.
class ReplayClock : public Clock {
 public:
  ReplayClock(Clock& inner, const std::vector<float>& readings) : inner_(inner), readings_(readings) {}
  float Seconds() override;
  void Pause(int milliseconds) override { inner_.Pause(milliseconds); }

 private:
  Clock& inner_;
  const std::vector<float>& readings_;
  size_t next_ = 0;
};

}  // namespace brawl
