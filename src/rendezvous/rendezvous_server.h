#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "net/rendezvous_protocol.h"
#include "rendezvous/source_limiter.h"

namespace brawl {

// What the server may hold and send; every table is sized from these at the start.
struct ServerLimits {
  int max_games = 1024;               // games registered or introduced at once
  int max_games_per_ip = 16;          // waiting games one address may hold
  int max_relayed = 64;               // games relayed at once
  int relay_bytes_per_s = 32 * 1024;  // per relayed game, both ways
  int code_lifetime_s = 30 * 60;
  int host_silent_s = 60;  // a waiting host that sends nothing this long has gone
  int relay_idle_s = 30;
  int introduced_keep_s = 60;  // a game that did not use the relay is forgotten after this
  double requests_per_s = 30, request_burst = 60;  // per source address
  double answers_per_s = 5000;                     // in all
  int source_slots = 4096;
};

// A datagram for the control port (`relay` false) or the relay port to send. Every datagram
// the server sends answers the one it was just handed, to its source and no longer than it,
// except what the relay forwards between the two sides of a game.
struct ServerSend {
  NetAddress to;
  std::vector<uint8_t> bytes;
  bool relay = false;
  bool forwarded = false;
};

// The rendezvous server without sockets: it is handed each datagram with its source and the
// time, and says what to send. Codes and tokens come from `random`. It speaks only when spoken
// to: the host learns that someone joined in the answer to its next Alive, and each side
// learns when to punch in the answer to a Ready once both are ready.
class RendezvousServer {
 public:
  using Log = std::function<void(const std::string& line)>;
  RendezvousServer(const ServerLimits& limits, RandomFill random, void* context, Log log);

  void OnControl(const NetAddress& from, const uint8_t* bytes, size_t size, int64_t now_ms,
                 std::vector<ServerSend>& out);
  void OnRelay(const NetAddress& from, const uint8_t* bytes, size_t size, int64_t now_ms,
               std::vector<ServerSend>& out);
  // Expiries and the drop summary; it sends nothing.
  void Tick(int64_t now_ms);

  int games() const { return static_cast<int>(by_token_.size()); }
  int relayed() const { return relayed_; }
  int64_t dropped() const { return dropped_total_; }

 private:
  struct Game {
    bool used = false;
    GameCode code;
    uint64_t token = 0;
    uint64_t host_nonce = 0, joiner_nonce = 0;
    NetAddress host, joiner, mapped;  // control endpoints as seen here; the host's mapped address
    std::vector<NetAddress> host_locals, joiner_locals;
    int64_t created_ms = 0, host_seen_ms = 0;
    bool joined = false;
    int64_t introduced_ms = 0;
    int64_t introduce_sent_ms[2] = {-1, -1};  // the first introduction of each side
    bool ready[2] = {false, false};
    int64_t trip_ms[2] = {0, 0};  // each side's round trip, introduction to Ready
    int64_t punch_ms = -1;        // when both sides punch, by this server's clock
    NetAddress relay_end[2];
    bool bound[2] = {false, false};
    bool relaying = false;
    double relay_tokens = 0;
    int64_t relay_seen_ms = 0, relay_refill_ms = 0;
    int64_t relayed_bytes = 0;
  };

  void Register(const NetAddress& from, const RendezvousMessage& m, int64_t now_ms,
                std::vector<ServerSend>& out);
  void Join(const NetAddress& from, const RendezvousMessage& m, int64_t now_ms, std::vector<ServerSend>& out);
  void Introduce(Game& g, int side, int64_t now_ms, std::vector<ServerSend>& out);
  void Answer(const NetAddress& to, const RendezvousMessage& m, bool relay, int64_t now_ms,
              std::vector<ServerSend>& out);
  void Refuse(const NetAddress& to, uint64_t nonce, RendezvousError error, bool relay, int64_t now_ms,
              std::vector<ServerSend>& out);
  void End(Game& g, int64_t now_ms, const char* why);
  Game* ByToken(uint64_t token);
  uint64_t FreshToken();

  ServerLimits limits_;
  RandomFill random_;
  void* context_;
  Log log_;
  std::vector<Game> games_;
  std::vector<int> free_;
  std::unordered_map<uint64_t, int> by_code_, by_token_, by_nonce_, by_relay_end_;
  std::unordered_map<uint32_t, int> waiting_per_ip_;
  SourceLimiter sources_;
  RateBudget answers_;
  int relayed_ = 0;
  int64_t dropped_ = 0, dropped_total_ = 0, summary_ms_ = -1;
};

}  // namespace brawl
