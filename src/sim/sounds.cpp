#include "sim/sounds.h"

namespace brawl {

const char* WaveName(Sound sound) {
  static constexpr const char* kNames[kSoundCount] = {"readygo.wav", "fire.wav",   "ogaa.wav",  "title0.wav",
                                                      "title1.wav",  "title2.wav", "title3.wav"};
  return kNames[static_cast<int>(sound)];
}

}  // namespace brawl
