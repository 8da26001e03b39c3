#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/audio.h"

namespace brawl {

class VirtualClock;

// Silent playback with real durations: a sound plays for as long as its wave lasts on the
// virtual clock.
class HeadlessAudio : public Audio {
 public:
  explicit HeadlessAudio(const VirtualClock& clock) : clock_(clock) {}

  bool Open() override { return true; }
  int Load(const std::string& path) override;
  int Play(int wave) override;
  bool IsPlaying(int handle) override;

  double LengthMs(int wave) const { return lengths_ms_.at(static_cast<size_t>(wave)); }

 private:
  struct Playing {
    double start_ms;
    double length_ms;
  };
  const VirtualClock& clock_;
  std::vector<double> lengths_ms_;  // per loaded wave
  // Only sounds not yet seen finished are kept, so a long run holds a handful.
  std::unordered_map<int, Playing> playing_;
  int next_handle_ = 0;
};

}  // namespace brawl
