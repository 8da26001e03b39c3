#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

constexpr int kSoundSlots = 8;

struct SoundSlots {
  int16_t SoundBusy[kSoundSlots] = {};
  int handle[kSoundSlots] = {};         // the audio back end's handle of each slot's sound
  std::map<std::string, int> waves;     // file name -> loaded wave, filled at the launch
  bool silent = false;                  // no audio device: every sound ends at once
  bool log_requests = false;            // keep `requested` (the headless dump reads it)
  std::vector<std::string> requested;   // every PlaySound since the log was last cleared
};
