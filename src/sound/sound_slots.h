#pragma once
#include <vector>

#include "sim/sounds.h"

namespace brawl {

constexpr int kSoundSlots = 8;

struct SoundSlots {
  bool SoundBusy[kSoundSlots] = {};
  int handle[kSoundSlots] = {};  // the audio back end's handle of each slot's sound
  int wave[kSoundCount] = {};    // each sound's loaded wave, filled at the launch
  bool silent = false;           // no audio device: every sound ends at once
  bool log_requests = false;     // keep `requested` (the headless dump reads it)
  std::vector<Sound> requested;  // every sound asked for since the log was last cleared
};

}  // namespace brawl
