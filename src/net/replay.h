#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace brawl {

// What a run needs to be stepped again (docs/replays.md). A local run keeps, for every pass,
// both players' commands, the shared keys and every clock reading the pass made; an online
// run keeps the seed and both players' commands of every confirmed frame.
struct ReplayPass {
  uint16_t player[2] = {0, 0};  // PackCommands, without Enter and Space
  bool enter = false, space = false, escape = false;
  std::vector<float> readings;
};

struct Replay {
  bool online = false;
  // Local runs: the settings chosen at the launch and the headless clock they ran on.
  bool hires = false, show_fps = false, joystick[2] = {false, false};
  int joysticks = 0;
  double clock_start = 36000.0, frame_ms = 1000.0 / 60.0;
  float launch_reading = 0;  // the reading the launch's reset made
  std::vector<ReplayPass> passes;
  // Online runs.
  uint32_t seed = 0;
  std::vector<uint32_t> frames;  // player 1's commands | player 2's << 16
};

constexpr int64_t kMaxReplayBytes = 256 << 20;

std::string ReplayText(const Replay& replay);
// Throws UsageError naming `path` and the line when the text is not a replay of this version.
Replay ParseReplay(const std::string& text, const std::string& path);

}  // namespace brawl
