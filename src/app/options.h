#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/pace.h"

namespace brawl {

// The command line. The game itself reads none: these belong to the platform layer.
struct Options {
  bool headless = false;
  bool windowed = false;
  std::string app_path;  // empty: the executable's folder
  bool hires = false;
  bool show_fps = false;
  int joysticks = 0;
  bool joystick[2] = {false, false};
  std::string script;   // "-" reads standard input; empty: none
  int64_t frames = -1;  // -1: when the script runs out, or 600 without one
  std::string dump;
  std::vector<std::pair<int64_t, std::string>> screenshots;  // pass, file
  double clock_start = 36000.0;
  double frame_ms = kPassMs;
  std::string config_dir;  // the player's configuration folder instead of the XDG one
  bool write_controls = false;
  std::string answer;  // --help or --version: print this and end, nothing else done
  // Online play (docs/netplay.md).
  bool host = false;
  std::string join;  // the host's name or address
  int port = 47474;
  bool join_lan = false;   // --join alone: a game found on the local network
  std::string code;        // --join XXXX-XXXX: a game code, through the rendezvous server
  std::string rendezvous;  // --rendezvous or BRAWL_RENDEZVOUS: the server's name or address
  int rendezvous_port = 47475;
  bool port_mapping = true;  // --no-port-mapping turns it off
  int input_delay = -1;      // -1: chosen from the measured round trip
  bool net_sim = false;
  double sim_rtt_ms = 0, sim_jitter_ms = 0, sim_loss_percent = 0;
  uint32_t sim_seed = 1;
  std::string record;      // write a replay of this run
  std::string replay;      // play a replay back instead of reading the players
  int force_rollback = 0;  // (headless, local) every pass steps the last N passes again
  int32_t desync_at = 0;   // (online, for tests) this side's match goes wrong at this pass
};

// Throws UsageError with a one-line message for anything it does not accept.
Options ParseOptions(int argc, char** argv);

// --host or any --join.
bool PlaysOnline(const Options& options);

}  // namespace brawl
