#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "net/link_path.h"
#include "net/rollback.h"
#include "platform/net_link.h"

namespace brawl {

using NetTime = std::chrono::steady_clock::time_point;

// How this side takes part.
struct SessionSetup {
  bool host = false;
  int input_delay = -1;              // -1: chosen from the round trip measured before the game starts
  uint64_t rules = 0;                // the hash of the rules' build, checked at the handshake
  uint32_t seed = 0;                 // the host's seed of the game; 0: drawn at random
  int32_t desync_at = 0;             // for tests: this side's match goes wrong at this pass
  LinkPath path = LinkPath::Direct;  // the joiner's way to the host, told in its hello
};

enum class SessionEventKind : uint8_t {
  Synchronizing,   // the other side answered; the round trip is being measured
  Running,         // the match has begun: passes may be stepped
  Interrupted,     // nothing heard for a while: the other side may be gone
  Resumed,         // heard again
  PeerLeft,        // the other player left
  Refused,         // the handshake failed, or the game is full: `why` says why
  ConnectionLost,  // nothing heard for too long, or the link broke
  Desync,          // the two sides disagree about `pass` (found here or told by the other side)
};

struct SessionEvent {
  SessionEventKind kind;
  std::string why;
  int32_t pass = 0;
};

// One side of an online game over a link to the other side, in the manner of the peer-to-peer
// sessions of rollback libraries: the game polls it for what happened, hands it this side's
// commands for each pass it steps, and takes the passes both sides have confirmed. It draws
// nothing and writes no file; after Refused, ConnectionLost or Desync it is over.
struct Session {
  enum class Stage { Synchronizing, Running, Over };
  // Checks that both sides agree are made every kCheckEvery confirmed passes; this many are kept.
  static constexpr int kChecks = 16;
  // Samples of how far each side runs ahead of the other, averaged to keep the two in time.
  static constexpr int kAdvantageSamples = 32;

  SessionSetup setup;
  std::unique_ptr<NetLink> link;
  Stage stage = Stage::Synchronizing;
  Rollback rollback;
  uint32_t seed = 0;
  uint64_t token = 0;                // the session's secret, drawn by the host at its welcome
  LinkPath path = LinkPath::Direct;  // how the two sides reached each other, as the joiner said
  int ping_ms = 0;
  int64_t ping_us = 0;  // the same, finer
  int pings = 0;
  int64_t dropped = 0;
  bool quiet = false;       // Interrupted was said and Resumed not yet
  int32_t remote_pass = 0;  // the other side's newest pass, as it last said
  int32_t remote_ack = 0;   // the other side has our commands up to this pass
  int32_t hashed = 0;       // confirmed passes hashed so far
  int64_t bytes_sent = 0;   // by the link, once it is closed
  NetTime last_heard, last_poll, last_ping, last_sent, last_hash_sent;
  std::vector<SessionEvent> pending;  // said before the next poll
  // The checks: this side's and the other side's hash of each checked pass, and how far the
  // other side has ours.
  std::pair<int32_t, uint64_t> checks[kChecks] = {};
  std::pair<int32_t, uint64_t> remote_checks[kChecks] = {};
  int32_t remote_checks_known = 0;  // the other side's checks are all here up to this pass
  int32_t checks_acked = 0;         // the other side has ours up to this pass
  // Keeping in time: recent advantages, this side's and the other side's as it reported them.
  int advantages[kAdvantageSamples] = {};
  int remote_advantages[kAdvantageSamples] = {};
  int advantage_samples = 0, remote_advantage_samples = 0;
  int32_t last_wait = 0;  // the pass this side last waited a tick at
  int64_t waits = 0;      // ticks waited to keep in time
};

// The match both sides begin from, worked out alike from the host's seed.
Match OnlineStart(uint32_t seed);

void StartSession(Session& s, std::unique_ptr<NetLink> link, const SessionSetup& setup, NetTime now);
// Takes in what arrived and sends what is due; what happened since the last poll, in order.
std::vector<SessionEvent> Poll(Session& s, NetTime now);
// True when this side may step its next pass now. Keeping in time with the other side, it
// declines at most one pass every so often.
bool CanStep(Session& s);
// Steps this side's next pass with its own commands, which go to the other side at once.
PassEvents Step(Session& s, CommandBits own, NetTime now);
// Every pass up to this one has both players' commands known; passes not older than
// kStateRing behind the newest can be asked for.
int32_t ConfirmedPass(const Session& s);
const Match& ConfirmedMatch(const Session& s, int32_t pass);
// Player 1's commands of a confirmed pass, and player 2's << 16.
uint32_t ConfirmedCommands(const Session& s, int32_t pass);
// How many passes this side runs ahead of the other, as far as it can tell.
int Advantage(const Session& s);
// Messages refused so far (undecodable, or from anyone but the other side), and bytes sent.
int64_t Dropped(const Session& s);
int64_t BytesSent(const Session& s);
// Tells the other side this one is leaving, with every command of ours it may lack so that it
// can confirm every pass both played, and closes the link.
void Leave(Session& s);

}  // namespace brawl
