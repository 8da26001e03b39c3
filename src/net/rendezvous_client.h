#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "net/rendezvous_protocol.h"

namespace brawl {

// A datagram the game's socket sends for the rendezvous: `ttl` 0 leaves the socket's own.
struct RendezvousSend {
  NetAddress to;
  std::vector<uint8_t> bytes;
  int ttl = 0;
};

// When the client asks again, gives up and punches (docs/netplay.md).
struct RendezvousTiming {
  int ask_every_ms = 500;  // Register, Join
  int server_give_up_ms = 5000;
  int alive_every_ms = 500;            // the host hears of its joiner in the answer
  int ready_every_ms = 100;            // the punch's time comes in the answer
  int punch_without_server_ms = 1500;  // no Punch after this long: punch all the same
  int probe_every_ms = 100;
  // The first probes die between the two routers, so that each router has seen its own side
  // go out before the other side's probes arrive; then probes go at full strength.
  int low_ttl = 2;
  int low_ttl_probes = 2;
  int full_ttl_after_ms = 100;
  int joiner_punch_ms = 2500;  // nothing answered this long after the punch: take the relay
  int host_punch_ms = 3500;    // later than the joiner, who decides
  int relay_every_ms = 250;
  int relay_give_up_ms = 5000;
};

// One side's way to the other through the rendezvous server, without sockets: it is handed
// what arrives at the game's socket and the time, and says what to send. The host registers
// and waits for a joiner; the joiner asks by code; then the joiner tries the host's mapped,
// public and LAN addresses, both punch at the time the server sets, and when nothing gets
// through both take the server's relay. The joiner decides and tells the host (a Chosen probe).
class RendezvousClient {
 public:
  enum class Phase { Asking, Waiting, Looking, Relaying, Connected, Failed };

  struct Setup {
    Side side = Side::Host;
    NetAddress server;               // the control port; the relay is the next one
    std::vector<NetAddress> locals;  // this machine's addresses with the game's port
    NetAddress mapped;               // the host's router-opened address; ip 0: none
    uint64_t nonce = 0;              // random, tells this client's answers apart
    GameCode code;                   // the joiner's
    RendezvousTiming timing;
  };

  explicit RendezvousClient(const Setup& setup);

  void Tick(int64_t now_ms, std::vector<RendezvousSend>& out);
  // Takes a datagram that arrived from `from`; false when it is no rendezvous message (the
  // game's own traffic, for the link).
  bool Take(const NetAddress& from, const uint8_t* bytes, size_t size, int64_t now_ms,
            std::vector<RendezvousSend>& out);

  Phase phase() const { return phase_; }
  const GameCode& code() const { return setup_.code; }
  // The host as the server sees it, once registered.
  const NetAddress& public_address() const { return public_; }
  // Once connected: how, and where the game's datagrams go (the relay when relayed).
  LinkPath path() const { return path_; }
  const NetAddress& peer() const { return peer_; }
  NetAddress relay() const {
    return NetAddress{setup_.server.ip, static_cast<uint16_t>(setup_.server.port + 1)};
  }
  // Why it failed, one line for the player; what the server refused, if it did.
  const std::string& failure() const { return failure_; }
  std::optional<RendezvousError> refused() const { return refused_; }
  // The last round trip a probe's answer measured, in milliseconds; -1 before any.
  int round_trip_ms() const { return round_trip_ms_; }
  // Once connected: asks the other side for an answer carrying `stamp` back, to measure the
  // round trip in any unit; answered_stamp() is the last stamp that came back.
  void Ping(uint32_t stamp, std::vector<RendezvousSend>& out) const;
  std::optional<uint32_t> answered_stamp() const { return answered_stamp_; }

 private:
  struct Candidate {
    NetAddress to;
    LinkPath path;
  };

  void Ask(int64_t now_ms, std::vector<RendezvousSend>& out);
  void OnServer(const RendezvousMessage& m, int64_t now_ms, std::vector<RendezvousSend>& out);
  void OnProbe(const NetAddress& from, const RendezvousMessage& m, int64_t now_ms,
               std::vector<RendezvousSend>& out);
  void Probe(const NetAddress& to, ProbeKind kind, LinkPath path, uint32_t stamp, int ttl,
             std::vector<RendezvousSend>& out) const;
  void Send(const NetAddress& to, const RendezvousMessage& m, int ttl,
            std::vector<RendezvousSend>& out) const;
  void Connect(const NetAddress& peer, LinkPath path);
  void Fail(const std::string& why);

  Setup setup_;
  Phase phase_ = Phase::Asking;
  uint64_t token_ = 0;
  NetAddress public_;
  NetAddress other_public_;
  std::vector<Candidate> candidates_;
  int64_t started_ms_ = -1, next_ask_ms_ = 0, next_probe_ms_ = 0, introduced_ms_ = 0, relay_ms_ = 0,
          connected_ms_ = 0;
  std::optional<int64_t> punch_ms_;  // when this side punches
  int low_ttl_sent_ = 0;
  bool ready_answered_ = false;
  bool chosen_answered_ = false;
  LinkPath path_ = LinkPath::Direct;
  NetAddress peer_;
  std::string failure_;
  std::optional<RendezvousError> refused_;
  int round_trip_ms_ = -1;
  std::optional<uint32_t> answered_stamp_;
};

}  // namespace brawl
