#pragma once
#include <cstdint>
#include <string>

#include "game/loop_state.h"
#include "game/settings.h"
#include "input/joystick_state.h"
#include "platform/platform.h"
#include "render/graphics.h"
#include "render/scene.h"
#include "sim/match.h"
#include "sound/sound_slots.h"

namespace brawl {

struct Game;
struct OnlineGame;
struct Replay;
struct SyncTest;

// Watches a run from outside: the headless mode feeds its script, and writes its dump and
// screenshots, here.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // Right after the launch, before the first pass.
  virtual void Launched(Game&) {}
  // Before the commands of a pass are read (online: of a pass this side steps). False:
  // nothing more to play.
  virtual bool NextInput(Game&) { return true; }
  // After the flip of a pass of a local run.
  virtual void PassDone(Game&) {}
  // Online: a pass whose both players' commands are known, in pass order; `net` is the
  // line's last fields.
  virtual void PassConfirmed(Game&, const Match&, int32_t /*pass*/, const std::string& /*net*/) {}
};

// The whole game: every piece of state, gathered so that a test can make as many as it likes.
struct Game {
  explicit Game(Platform& p) : platform(p) {}
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  Platform& platform;
  Settings settings;
  LoopState loop;
  Match match = NewMatch();
  Scene scene;
  Graphics gfx;
  SoundSlots sound;
  JoystickState joy;
  RunObserver* observer = nullptr;
  const Replay* playback = nullptr;  // the players' commands come from here instead
  Replay* recording = nullptr;       // every pass's commands go here
  SyncTest* sync_test = nullptr;     // every pass is stepped again, as online play may
  OnlineGame* online = nullptr;      // an online game instead of the local passes
  int64_t passes = 0;                // passes of the main loop since the launch
};

}  // namespace brawl
