#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/link_sim.h"
#include "net/session.h"
#include "sim/pass.h"

namespace brawl {

struct Game;

// How this side takes part in an online game, and how to reach the other side.
struct OnlinePlan {
  SessionSetup session;
  std::string peer;  // the host's name or address, for the joiner
  int port = 47474;
  bool lan = false;        // the joiner looks for a game on the local network
  std::string code;        // the joiner's game code, "XXXX-XXXX"
  std::string rendezvous;  // the rendezvous server's name or address; empty: none
  int rendezvous_port = 47475;
  bool port_mapping = true;  // the host asks the router to open its port
  bool faulty = false;       // --net-sim: what this side sends goes through `faults`
  LinkFaults faults;
  int give_up_ms = 0;  // waiting for the other player; 0: until this player gives up
  bool in_window =
      false;           // the reason a game ended stays on the picture; headless, waiting is said on stderr
  std::string record;  // --record: the replay of the confirmed passes goes here at the end
  std::string report_folder;  // where a desync's reports go; empty: none (no HOME)
};

// What the game does for an opener while it looks for the other side.
class LinkWaiting {
 public:
  virtual ~LinkWaiting() = default;
  // Shows `lines` on the waiting picture and takes the window's events; false: the player gives up.
  virtual bool Show(const std::vector<std::string>& lines) = 0;
  // Lets the player pick one of `choices` with Up, Down and Enter; -1: they gave up.
  virtual int Choose(const std::string& title, const std::vector<std::string>& choices) = 0;
};

// The link to the other side and how it was reached (the joiner's word; the host hears it in
// the hello).
struct OpenedLink {
  std::unique_ptr<NetLink> link;
  LinkPath path = LinkPath::Direct;
};

// Opens the link to the other player; no link when the player gave up. Throws NetError, with
// the line to say, when there is no game to be had (nobody came, an unknown code).
using LinkOpener = OpenedLink (*)(const OnlinePlan& plan, LinkWaiting& waiting);

// What F3 shows: the network's figures, each second.
struct NetStats {
  bool shown = false;
  bool key_held = false;
  NetTime since;
  int64_t rollbacks = 0, bytes = 0;  // at `since`
  int rollbacks_per_second = 0, bytes_per_second = 0;
};

// An online game as the game keeps it: the session, and what this side shows and writes of it.
struct OnlineGame {
  OnlinePlan plan;
  LinkOpener open = nullptr;
  // The time the game goes by, and whether a pass waits for its turn (tests step both sides
  // of a game on a clock of their own).
  NetTime (*now)() = std::chrono::steady_clock::now;
  bool paced = true;
  Session session;
  bool connected = false;
  bool waiting_banner = false;  // nothing heard from the other side for a while
  bool finishing = false;       // headless: the script has run out; waiting for the last confirmation
  int32_t dumped = 0;           // confirmed passes written so far
  NetTime next_tick;
  NetStats stats;
  std::vector<uint32_t> history;  // both players' commands of every confirmed pass
};

// Before a pass: connects, acts on what the session says, writes the confirmed passes and
// waits for the pass's turn; leaves once a finished script's passes are all confirmed. False
// when this pass only shows a waiting picture, or the game is over.
bool PollOnline(Game& game);
// Whether this pass steps the match; asks the run for the input of the step.
bool ReadyToStep(Game& game);
// Steps the match with this side's own commands (player 1's keys or this side's pad).
PassEvents StepOnline(Game& game, const Commands& commands);
// Escape: says goodbye to the other side and ends the run.
void LeaveOnline(Game& game);

}  // namespace brawl
