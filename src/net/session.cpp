#include "net/session.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "base/pace.h"
#include "net/net_step.h"
#include "net/protocol.h"
#include "net/state_hash.h"

namespace brawl {

namespace {

using std::chrono::milliseconds;

constexpr auto kQuietBanner = milliseconds(500);
constexpr auto kQuietLost = milliseconds(5000);
constexpr auto kPingEvery = milliseconds(500);
constexpr auto kMeasuringPingEvery = milliseconds(50);
constexpr int kMeasuringPings = 5;
constexpr int kHashEvery = 30;  // passes between checks that both sides agree
constexpr auto kResendAfter =
    std::chrono::duration_cast<NetTime::duration>(std::chrono::duration<double, std::milli>(kPassMs));

uint32_t Millis(NetTime t) {
  return static_cast<uint32_t>(std::chrono::duration_cast<milliseconds>(t.time_since_epoch()).count());
}

void Send(Session& s, const Message& message, bool reliable) {
  if (s.link) s.link->Send(Encode(message), reliable);
}

void SendPing(Session& s, NetTime now) {
  Message ping = MessageOf(MessageType::Ping);
  ping.stamp = Millis(now);
  Send(s, ping, false);
  s.last_ping = now;
}

// The link goes; what it counted stays.
void Close(Session& s) {
  if (s.link) {
    s.dropped += s.link->Refused();
    s.bytes_sent = s.link->BytesSent();
  }
  s.link.reset();
  s.stage = Session::Stage::Over;
}

void End(Session& s, std::vector<SessionEvent>& events, SessionEventKind kind, std::string why = {},
         int32_t pass = 0) {
  events.push_back({kind, std::move(why), pass});
  Close(s);
}

std::string Mismatch(RefuseReason reason) {
  return reason == RefuseReason::Version ? "the other player runs another version of the protocol"
                                         : "the other player runs another build of the rules";
}

// The host's check of a joiner: one line on both sides when they cannot play together.
void Refuse(Session& s, RefuseReason reason, std::vector<SessionEvent>& events) {
  Message refuse = MessageOf(MessageType::Refuse);
  refuse.reason = reason;
  Send(s, refuse, true);
  End(s, events, SessionEventKind::Refused, Mismatch(reason));
}

void Begin(Session& s, std::vector<SessionEvent>& events) {
  const int delay = s.setup.input_delay >= 0
                        ? s.setup.input_delay
                        // The fewest passes that cover half the round trip.
                        : std::min(kMaxInputDelay, static_cast<int>(std::ceil(s.ping_ms / 2.0 / kPassMs)));
  StartRollback(s.rollback, OnlineStart(s.seed), s.setup.host ? 0 : 1, delay, s.seed);
  s.stage = Session::Stage::Running;
  events.push_back({SessionEventKind::Running, {}, 0});
}

void SendCommands(Session& s, NetTime now) {
  const Rollback& r = s.rollback;
  Message m = MessageOf(MessageType::Commands);
  m.ack = r.known[1 - r.local];
  m.pass = r.pass;
  m.first = std::max(1, s.remote_ack + 1);
  for (int32_t f = m.first; f <= r.known[r.local] && m.inputs.size() < kMaxInputsPerPacket; ++f) {
    m.inputs.push_back(CommandsOf(r, r.local, f));
  }
  Send(s, m, false);
  s.last_sent = now;
}

// Every confirmed pass is hashed once, in order; every 30th hash goes to the other side.
void HashConfirmed(Session& s) {
  const Rollback& r = s.rollback;
  for (int32_t f = s.hashed + 1; f <= Confirmed(r); ++f) {
    s.hashes[f % kStateRing] = HashMatch(MatchAfter(r, f));
    s.hashed = f;
    if (f % kHashEvery == 0) {
      Message hash = MessageOf(MessageType::Hash);
      hash.pass = f;
      hash.hash = s.hashes[f % kStateRing];
      Send(s, hash, false);
    }
  }
}

// The first pass both sides hashed and disagree about ends the game for both.
void CheckHashes(Session& s, std::vector<SessionEvent>& events) {
  for (const auto& [pass, hash] : s.remote_hashes) {
    if (pass == 0 || pass > s.hashed || pass <= s.hashed - kStateRing) continue;
    if (s.hashes[pass % kStateRing] != hash) {
      End(s, events, SessionEventKind::Desync, {}, pass);
      return;
    }
  }
}

void Take(Session& s, const Message& m, NetTime now, std::vector<SessionEvent>& events) {
  const bool running = s.stage == Session::Stage::Running;
  switch (m.type) {
    case MessageType::Hello:
      if (!s.setup.host) break;
      if (m.version != kProtocolVersion) return Refuse(s, RefuseReason::Version, events);
      if (m.rules != s.setup.rules) return Refuse(s, RefuseReason::Build, events);
      {
        Message welcome = MessageOf(MessageType::Welcome);
        welcome.version = kProtocolVersion;
        welcome.rules = s.setup.rules;
        welcome.seed = s.seed = s.setup.seed != 0 ? s.setup.seed : std::random_device{}() | 1u;
        Send(s, welcome, true);
      }
      break;
    case MessageType::Welcome:
      if (s.setup.host) break;
      if (m.version != kProtocolVersion)
        return End(s, events, SessionEventKind::Refused, Mismatch(RefuseReason::Version));
      if (m.rules != s.setup.rules)
        return End(s, events, SessionEventKind::Refused, Mismatch(RefuseReason::Build));
      s.seed = m.seed == 0 ? 1 : m.seed;
      break;
    case MessageType::Refuse:
      return End(s, events, SessionEventKind::Refused, Mismatch(m.reason) + " (refused by the host)");
    case MessageType::Ping: {
      Message pong = MessageOf(MessageType::Pong);
      pong.stamp = m.stamp;
      Send(s, pong, false);
      break;
    }
    case MessageType::Pong: {
      const int rtt = static_cast<int>(Millis(now) - m.stamp);
      s.ping_ms = s.pings == 0 ? rtt : (s.ping_ms * 3 + rtt) / 4;
      ++s.pings;
      break;
    }
    case MessageType::Commands:
      if (!running) break;
      s.remote_pass = std::max(s.remote_pass, m.pass);
      s.remote_ack = std::max(s.remote_ack, m.ack);
      TakeRemote(s.rollback, m.first, m.inputs);
      break;
    case MessageType::Hash:
      if (!running || m.pass <= 0 || m.pass % kHashEvery != 0) break;
      s.remote_hashes[m.pass / kHashEvery % kStateRing] = {m.pass, m.hash};
      break;
    case MessageType::Leave:
      return End(s, events, SessionEventKind::PeerLeft);
  }
}

// Ahead of the other side by more than a pass: wait a tick so that the two agree.
bool RunningAhead(const Session& s) {
  const int32_t latency = static_cast<int32_t>(s.ping_ms / 2.0 / kPassMs);
  return s.rollback.pass > s.remote_pass + latency + 1;
}

}  // namespace

Match OnlineStart(uint32_t seed) {
  Match start = NewMatch();
  PassEvents ignored;
  ResetMatch(start, NetClock(seed, 0), ignored);
  return start;
}

void StartSession(Session& s, std::unique_ptr<NetLink> link, const SessionSetup& setup, NetTime now) {
  s = Session{};
  s.setup = setup;
  s.link = std::move(link);
  s.last_heard = s.last_ping = now;
  // The joiner says who it is; the host answers with the seed of the game, or refuses.
  if (!setup.host) {
    Message hello = MessageOf(MessageType::Hello);
    hello.version = kProtocolVersion;
    hello.rules = setup.rules;
    Send(s, hello, true);
  }
  s.pending.push_back({SessionEventKind::Synchronizing, {}, 0});
}

std::vector<SessionEvent> Poll(Session& s, NetTime now) {
  std::vector<SessionEvent> events = std::move(s.pending);
  s.pending.clear();
  if (s.stage == Session::Stage::Over) return events;
  const bool connected = s.link->Service();
  std::vector<uint8_t> bytes;
  while (s.stage != Session::Stage::Over && s.link->Receive(bytes)) {
    s.last_heard = now;
    if (s.quiet) {
      s.quiet = false;
      events.push_back({SessionEventKind::Resumed, {}, 0});
    }
    const std::optional<Message> message = Decode(bytes.data(), bytes.size());
    if (!message) {
      ++s.dropped;
      continue;
    }
    Take(s, *message, now, events);
  }
  if (s.stage == Session::Stage::Over) return events;
  if (!connected || now - s.last_heard > kQuietLost) {
    End(s, events, SessionEventKind::ConnectionLost, "connection lost");
    return events;
  }
  if (!s.quiet && now - s.last_heard > kQuietBanner) {
    s.quiet = true;
    events.push_back({SessionEventKind::Interrupted, {}, 0});
  }
  if (s.stage == Session::Stage::Synchronizing) {
    // Once the host has welcomed the joiner, both measure the round trip before the game starts.
    if (s.seed == 0) return events;
    if (s.pings >= kMeasuringPings) {
      Begin(s, events);
    } else if (now - s.last_ping > kMeasuringPingEvery) {
      SendPing(s, now);
    }
    return events;
  }
  // A pass's commands went out as it was stepped; while this side waits they are sent again.
  if (now - s.last_sent > kResendAfter) SendCommands(s, now);
  if (now - s.last_ping > kPingEvery) SendPing(s, now);
  HashConfirmed(s);
  CheckHashes(s, events);
  return events;
}

bool CanStep(const Session& s) {
  return s.stage == Session::Stage::Running && CanAdvance(s.rollback) && !RunningAhead(s);
}

PassEvents Step(Session& s, CommandBits own, NetTime now) {
  const PassEvents events = Advance(s.rollback, own);
  SendCommands(s, now);
  HashConfirmed(s);
  return events;
}

int32_t ConfirmedPass(const Session& s) {
  return s.stage == Session::Stage::Synchronizing ? 0 : Confirmed(s.rollback);
}

const Match& ConfirmedMatch(const Session& s, int32_t pass) {
  return MatchAfter(s.rollback, pass);
}

uint32_t ConfirmedCommands(const Session& s, int32_t pass) {
  return CommandsOf(s.rollback, 0, pass) | static_cast<uint32_t>(CommandsOf(s.rollback, 1, pass)) << 16;
}

int64_t Dropped(const Session& s) {
  return s.dropped + (s.link ? s.link->Refused() : 0);
}

int64_t BytesSent(const Session& s) {
  return s.link ? s.link->BytesSent() : s.bytes_sent;
}

void Leave(Session& s) {
  Send(s, MessageOf(MessageType::Leave), true);
  Close(s);  // waits a moment for the goodbye to go out
}

}  // namespace brawl
