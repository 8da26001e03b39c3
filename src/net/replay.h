#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/pace.h"

namespace brawl {

// What a run needs to be stepped again (docs/netplay.md, "Replays"). A local run keeps the choices of the
// launch, both players' commands and the shared keys of every pass, and every clock reading the
// run made, in order; an online run keeps the seed and both players' commands of every
// confirmed pass.
struct ReplayPass {
  uint16_t player[2] = {0, 0};  // PackCommands, without Enter and Space
  bool enter = false, space = false, escape = false;
};

struct Replay {
  bool online = false;
  // Local runs: the settings of the launch and the headless clock they ran on.
  bool hires = false, show_fps = false, joystick[2] = {false, false};
  int wait = 0;  // env.ini's wait after the start cue, in milliseconds
  double clock_start = 36000.0, frame_ms = kPassMs;
  std::vector<float> readings;
  std::vector<ReplayPass> passes;
  // Online runs.
  uint32_t seed = 0;
  std::vector<uint32_t> online_passes;  // player 1's commands | player 2's << 16
};

struct Commands;
ReplayPass ToReplayPass(const Commands& commands);
Commands FromReplayPass(const ReplayPass& pass);

// How many passes the replay holds.
int64_t ReplayPasses(const Replay& replay);

constexpr int64_t kMaxReplayBytes = int64_t{256} << 20;

std::string ReplayText(const Replay& replay);
// Throws UsageError naming `path` and the line when the text is not a replay of this version.
Replay ParseReplay(const std::string& text, const std::string& path);

}  // namespace brawl
