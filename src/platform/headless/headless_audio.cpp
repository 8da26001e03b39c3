#include "platform/headless/headless_audio.h"

#include <limits>

#include "base/fatal_error.h"
#include "formats/wave.h"
#include "platform/headless/virtual_clock.h"

namespace brawl {

int HeadlessAudio::Load(const std::string& path) {
  lengths_ms_.push_back(WaveMilliseconds(ReadWave(path)));
  return static_cast<int>(lengths_ms_.size() - 1);
}

int HeadlessAudio::Play(int wave) {
  if (wave < 0 || static_cast<size_t>(wave) >= lengths_ms_.size()) {
    throw Fatal("cannot play sound", "wave " + std::to_string(wave), "not loaded");
  }
  // Handles wrap around on very long runs; one still in use is skipped.
  do {
    next_handle_ = next_handle_ == std::numeric_limits<int>::max() ? 0 : next_handle_ + 1;
  } while (playing_.contains(next_handle_));
  playing_[next_handle_] = Playing{clock_.ElapsedMs(), lengths_ms_[static_cast<size_t>(wave)]};
  return next_handle_;
}

bool HeadlessAudio::IsPlaying(int handle) {
  const auto found = playing_.find(handle);
  if (found == playing_.end()) return false;
  if (clock_.ElapsedMs() - found->second.start_ms < found->second.length_ms) return true;
  playing_.erase(found);  // the clock never goes back: once over, over for good
  return false;
}

}  // namespace brawl
