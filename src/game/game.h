#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <utility>

#include "game/loop_state.h"
#include "game/settings.h"
#include "input/joystick_state.h"
#include "platform/platform.h"
#include "render/graphics.h"
#include "render/scene.h"
#include "sim/match.h"
#include "sim/pass.h"
#include "sound/sound_slots.h"

namespace brawl {

struct Game;
struct NetPlay;
struct Replay;

// Watches a run from outside: the headless mode writes its dump and screenshots here.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // Right after the launch, before the first pass.
  virtual void Launched(Game&) {}
  // After the flip of a pass that followed the launch.
  virtual void PassDone(Game&) {}
  // Online: before this side steps its next frame. False when there is nothing more to play.
  virtual bool NextFrame(Game&) { return true; }
  // Online: a frame whose both players' commands are known, in frame order; `net` is the
  // line's last fields.
  virtual void FrameConfirmed(Game&, const Match&, int32_t /*frame*/, const std::string& /*net*/) {}
};

// What the settings window's buttons and close box do; the start-up above the loop fills
// them in.
struct FormActions {
  void (*launch)(Game&) = nullptr;
  void (*end_program)(Game&) = nullptr;
  void (*close_request)(Game&) = nullptr;
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
  FormActions actions;
  RunObserver* observer = nullptr;
  NetPlay* net = nullptr;            // an online game instead of the local passes
  Replay* recording = nullptr;       // every pass's commands go here
  const Replay* playback = nullptr;  // the commands come from here instead of the players
  // --force-rollback: every pass steps the last passes again from the oldest kept, as online
  // play does when a guess was wrong; the match must come out the same.
  int force_rollback = 0;
  std::deque<std::pair<Match, PassInput>> stepped;
  int64_t passes = 0;  // passes of the main loop since the launch
};

}  // namespace brawl
