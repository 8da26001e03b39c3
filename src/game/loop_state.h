#pragma once
#include <cstdint>

namespace brawl {

// The main loop's state and its frame timing.
struct LoopState {
  bool Running = false;  // false: the loop ends after this pass
  bool InMatch = false;  // launched: the passes run
  bool Ending = false;   // Escape or the quit button: nothing more of the game runs
  float Fps = 0;
  float FpsTimer = 0;
  int16_t FpsFrameCount = 0;
  float SpeedFactor = 0;
};

}  // namespace brawl
