#pragma once
#include <cstdint>

#include "app/settings.h"
#include "game/loop_state.h"
#include "input/joystick_state.h"
#include "platform/platform.h"
#include "platform/scene/scene.h"
#include "render/graphics.h"
#include "sim/match_state.h"
#include "sim/random.h"
#include "sound/sound_slots.h"

struct Game;

// Watches a run from outside: the headless mode writes its dump and screenshots here.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // Right after the launch, before the first pass.
  virtual void Launched(Game&) {}
  // After the flip of a pass that followed the launch.
  virtual void PassDone(Game&) {}
};

// The whole game: every piece of state, gathered so that a test can make as many as it likes.
struct Game {
  explicit Game(Platform& p) : platform(p) {}
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  Platform& platform;
  Settings settings;
  LoopState loop;
  MatchState match;
  Scene scene;
  MatchFrames frames;
  Graphics gfx;
  SoundSlots sound;
  JoystickState joy;
  Random random;
  RunObserver* observer = nullptr;
  int64_t passes = 0;  // passes of the main loop since the launch
};
