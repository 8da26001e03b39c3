#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "net/link_sim.h"
#include "net/rollback.h"
#include "platform/net_link.h"

namespace brawl {

struct Game;

// How this side takes part in an online game.
struct NetPlan {
  bool host = false;
  std::string peer;  // the host's name or address, for the joiner
  int port = 47474;
  int input_delay = -1;  // -1: chosen from the measured round trip
  uint64_t rules = 0;    // the hash of the rules' build, checked at the handshake
  bool faulty = false;   // --net-sim: what this side sends goes through `faults`
  LinkFaults faults;
  int give_up_ms = 0;         // waiting for the other player; 0: until this player gives up
  uint32_t seed = 0;          // the host's seed of the game; 0: drawn at random
  std::string record;         // --record: the replay of the confirmed frames goes here at the end
  std::string report_folder;  // where a desync's reports go; empty: none (no HOME)
};

// Opens the link to the other player; calls `waiting` between tries (false: give up now).
// nullptr when nobody came.
using LinkOpener = std::unique_ptr<NetLink> (*)(const NetPlan& plan, bool (*waiting)(void*), void* context);

// An online game in progress, kept by the game while it runs.
struct NetPlay {
  enum class Stage { Connecting, Measuring, Playing };

  NetPlan plan;
  LinkOpener open = nullptr;
  // The time the game goes by, and whether a tick waits for its turn (tests step both sides
  // of a game on a clock of their own).
  std::chrono::steady_clock::time_point (*now)() = std::chrono::steady_clock::now;
  bool paced = true;
  std::unique_ptr<NetLink> link;
  Stage stage = Stage::Connecting;
  Rollback rollback;
  uint32_t seed = 0;
  int32_t dumped = 0;        // confirmed frames written so far
  int32_t remote_frame = 0;  // the other side's newest frame, as it last said
  int32_t remote_ack = 0;    // the other side has our commands up to this frame
  int ping_ms = 0;
  int pings = 0;
  int64_t dropped = 0;
  bool finishing = false;  // headless: the script has run out; waiting for the last confirmation
  std::chrono::steady_clock::time_point last_heard, next_tick, last_ping;
  uint64_t hashes[kStateRing] = {};  // this side's hash of each recent confirmed frame
  std::pair<int32_t, uint64_t> remote_hashes[kStateRing] = {};  // the other side's, by frame
  std::vector<uint32_t> history;  // both players' commands of every confirmed frame
};

// One tick of the online game: the network, at most one frame of the match, the picture.
// Throws NetError when the game ends badly for both; sets the loop's `ending` when it ends well.
void RunNetTick(Game& game);
// One frame of an online game's replay, as the online game stepped it.
void RunOnlineReplayFrame(Game& game);

}  // namespace brawl
