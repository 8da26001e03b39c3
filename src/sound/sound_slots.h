#pragma once
#include <vector>

#include "sim/sounds.h"

namespace brawl {

constexpr int kSoundSlots = 8;

// The eight slots of sounds playing at once, and what the game asked of them.
struct SoundSlots {
  bool SoundBusy[kSoundSlots] = {};
  int Handle[kSoundSlots] = {};  // the audio back end's handle of each slot's sound
  int Loaded[kSoundCount] = {};  // each sound's loaded wave, filled at the launch
  bool Silent = false;           // no audio device: every sound ends at once
  bool LogRequests = false;      // keep `Requested` (the headless dump reads it)
  std::vector<Sound> Requested;  // every sound asked for since the log was last cleared
};

}  // namespace brawl
