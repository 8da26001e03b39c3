#pragma once
#include <cstdint>

enum GameModeValue : int16_t { kTitle = 0, kOnePlayer = 1, kTwoPlayers = 2, kResult = 3 };

// The main loop's state, frame timing and screen.
struct LoopState {
  int16_t Running = 0;
  int16_t InMatch = 0;
  int16_t GameMode = 0;
  int16_t Winner = 0;
  int16_t TitleChoice = 0;
  float Fps = 0;
  float FpsTimer = 0;
  int16_t FpsFrameCount = 0;
  float SpeedFactor = 0;
  int16_t SpeedLock = 0;
  // Set by Escape and by the quit button: nothing more of the game runs.
  bool ending = false;
};
