#include "net/session.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "base/i18n.h"
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
constexpr auto kHashResend = milliseconds(100);
constexpr auto kResendAfter =
    std::chrono::duration_cast<NetTime::duration>(std::chrono::duration<double, std::milli>(kPassMs));
constexpr int kMeasuringPings = 5;
constexpr int kCheckEvery = 30;  // confirmed passes between checks that both sides agree
// Keeping in time: a side that runs ahead by a pass or more on average waits one tick, at
// most once in this many passes.
constexpr int kWaitEvery = 12;

uint32_t Millis(NetTime t) {
  return static_cast<uint32_t>(std::chrono::duration_cast<milliseconds>(t.time_since_epoch()).count());
}

void Send(Session& s, Message message, bool reliable) {
  message.token = s.token;
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
  s.link.reset();  // waits a moment for what is queued (a goodbye) to go out
  s.stage = Session::Stage::Over;
}

void End(Session& s, std::vector<SessionEvent>& events, SessionEventKind kind, std::string why = {},
         int32_t pass = 0) {
  events.push_back({kind, std::move(why), pass});
  Close(s);
}

std::string Refusal(RefuseReason reason) {
  switch (reason) {
    case RefuseReason::Version:
      return _("the other player runs another version of the protocol");
    case RefuseReason::Build:
      return _("the other player runs another build of the rules");
    case RefuseReason::Full:
      break;
  }
  return _("the game already has two players");
}

// The host's check of a joiner: one line on both sides when they cannot play together.
void Refuse(Session& s, RefuseReason reason, std::vector<SessionEvent>& events) {
  Message refuse = MessageOf(MessageType::Refuse);
  refuse.reason = reason;
  Send(s, refuse, true);
  End(s, events, SessionEventKind::Refused, Refusal(reason));
}

void Begin(Session& s, std::vector<SessionEvent>& events) {
  const int delay = s.setup.input_delay >= 0
                        ? s.setup.input_delay
                        // The fewest passes that cover half the round trip.
                        : std::min(kMaxInputDelay, static_cast<int>(std::ceil(s.ping_ms / 2.0 / kPassMs)));
  StartRollback(s.rollback, OnlineStart(s.seed), s.setup.host ? 0 : 1, delay, s.seed);
  s.rollback.perturb_at = s.setup.desync_at;
  s.stage = Session::Stage::Running;
  events.push_back({SessionEventKind::Running, {}, 0});
}

double Average(const int (&samples)[Session::kAdvantageSamples], int count) {
  const int n = std::min(count, Session::kAdvantageSamples);
  if (n == 0) return 0;
  double sum = 0;
  for (int i = 0; i < n; ++i) sum += samples[i];
  return sum / n;
}

void SendCommands(Session& s, NetTime now) {
  const Rollback& r = s.rollback;
  Message m = MessageOf(MessageType::Commands);
  m.ack = r.known[1 - r.local];
  m.pass = r.pass;
  m.advantage = static_cast<int8_t>(Advantage(s));
  m.hash_ack = s.remote_checks_known;
  m.first = std::max(1, s.remote_ack + 1);
  for (int32_t f = m.first; f <= r.known[r.local] && m.inputs.size() < kMaxInputsPerPacket; ++f) {
    m.inputs.push_back(CommandsOf(r, r.local, f));
  }
  Send(s, m, false);
  s.last_sent = now;
  s.advantages[s.advantage_samples++ % Session::kAdvantageSamples] = m.advantage;
}

// Every confirmed pass is hashed once, in order; every 30th is a check for both sides.
void HashConfirmed(Session& s) {
  const Rollback& r = s.rollback;
  for (int32_t f = s.hashed + 1; f <= Confirmed(r); ++f) {
    s.hashed = f;
    if (f % kCheckEvery == 0) s.checks[f / kCheckEvery % Session::kChecks] = {f, HashMatch(MatchAfter(r, f))};
  }
}

// Checks go out until the other side says it has them.
void SendChecks(Session& s, NetTime now) {
  if (now - s.last_hash_sent < kHashResend) return;
  for (const auto& [pass, hash] : s.checks) {
    if (pass <= s.checks_acked) continue;
    Message m = MessageOf(MessageType::Hash);
    m.pass = pass;
    m.hash = hash;
    Send(s, m, false);
    s.last_hash_sent = now;
  }
}

// The first check the two sides disagree about ends the game for both: the side that finds
// it tells the other.
void Compare(Session& s, std::vector<SessionEvent>& events) {
  for (const auto& [pass, hash] : s.remote_checks) {
    const auto& mine = s.checks[pass / kCheckEvery % Session::kChecks];
    if (pass == 0 || mine.first != pass || mine.second == hash) continue;
    Message told = MessageOf(MessageType::Desync);
    told.pass = pass;
    Send(s, told, true);
    End(s, events, SessionEventKind::Desync, {}, pass);
    return;
  }
}

void TakeCheck(Session& s, int32_t pass, uint64_t hash) {
  if (pass <= 0 || pass % kCheckEvery != 0) return;
  s.remote_checks[pass / kCheckEvery % Session::kChecks] = {pass, hash};
  // Known up to here while every check before it is here too.
  for (int32_t next = s.remote_checks_known + kCheckEvery;; next += kCheckEvery) {
    if (s.remote_checks[next / kCheckEvery % Session::kChecks].first != next) break;
    s.remote_checks_known = next;
  }
}

void Take(Session& s, const Message& m, NetTime now, std::vector<SessionEvent>& events) {
  const bool running = s.stage == Session::Stage::Running;
  switch (m.type) {
    case MessageType::Hello:
      if (!s.setup.host) break;
      if (m.version != kProtocolVersion) return Refuse(s, RefuseReason::Version, events);
      if (m.rules != s.setup.rules) return Refuse(s, RefuseReason::Build, events);
      if (m.path != LinkPath{}) s.path = m.path;
      if (s.seed == 0) {
        std::random_device random;
        s.seed = s.setup.seed != 0 ? s.setup.seed : random() | 1u;
        s.token = (uint64_t{random()} << 32 | random()) | 1u;
      }
      {
        Message welcome = MessageOf(MessageType::Welcome);
        welcome.version = kProtocolVersion;
        welcome.rules = s.setup.rules;
        welcome.seed = s.seed;
        Send(s, welcome, true);
      }
      break;
    case MessageType::Welcome:
      if (s.setup.host || s.seed != 0) break;
      if (m.version != kProtocolVersion)
        return End(s, events, SessionEventKind::Refused, Refusal(RefuseReason::Version));
      if (m.rules != s.setup.rules)
        return End(s, events, SessionEventKind::Refused, Refusal(RefuseReason::Build));
      s.seed = m.seed == 0 ? 1 : m.seed;
      s.token = m.token;
      break;
    case MessageType::Refuse:
      if (s.setup.host) break;
      return End(s, events, SessionEventKind::Refused,
                 Refusal(m.reason) + (m.reason == RefuseReason::Full ? "" : _(" (refused by the host)")));
    case MessageType::Ping: {
      Message pong = MessageOf(MessageType::Pong);
      pong.stamp = m.stamp;
      Send(s, pong, false);
      break;
    }
    case MessageType::Pong: {
      // The answer to the last ping is timed by this side's clock, finer than the stamp.
      const int64_t rtt_us =
          m.stamp == Millis(s.last_ping)
              ? std::chrono::duration_cast<std::chrono::microseconds>(now - s.last_ping).count()
              : int64_t{static_cast<int32_t>(Millis(now) - m.stamp)} * 1000;
      s.ping_us = s.pings == 0 ? rtt_us : (s.ping_us * 3 + rtt_us) / 4;
      s.ping_ms = static_cast<int>((s.ping_us + 500) / 1000);
      ++s.pings;
      break;
    }
    case MessageType::Commands:
      if (!running) break;
      s.remote_pass = std::max(s.remote_pass, m.pass);
      s.remote_ack = std::max(s.remote_ack, m.ack);
      s.checks_acked = std::max(s.checks_acked, m.hash_ack);
      s.remote_advantages[s.remote_advantage_samples++ % Session::kAdvantageSamples] = m.advantage;
      TakeRemote(s.rollback, m.first, m.inputs);
      break;
    case MessageType::Hash:
      if (running) TakeCheck(s, m.pass, m.hash);
      break;
    case MessageType::Leave:
      if (running) TakeRemote(s.rollback, m.first, m.inputs);
      return End(s, events, SessionEventKind::PeerLeft);
    case MessageType::Desync:
      return End(s, events, SessionEventKind::Desync, {}, m.pass);
  }
}

// The handshake's messages may come before the token is known; everything else must carry it.
bool Authentic(const Session& s, const Message& m) {
  switch (m.type) {
    case MessageType::Hello:
      return s.setup.host;
    case MessageType::Welcome:
    case MessageType::Refuse:
      return !s.setup.host;
    default:
      return s.token != 0 && m.token == s.token;
  }
}

}  // namespace

// The other side's pass as it last said, moved on by the passes its message took to come.
int Advantage(const Session& s) {
  const int in_flight = static_cast<int>(std::lround(s.ping_ms / 2.0 / kPassMs));
  return std::clamp(s.rollback.pass - (s.remote_pass + in_flight), -100, 100);
}

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
  s.path = setup.path;
  s.last_heard = s.last_poll = s.last_ping = now;
  // The joiner says who it is; the host answers with the seed and the token of the game, or
  // refuses.
  if (!setup.host) {
    Message hello = MessageOf(MessageType::Hello);
    hello.version = kProtocolVersion;
    hello.rules = setup.rules;
    hello.path = setup.path;
    Send(s, hello, true);
  }
  s.pending.push_back({SessionEventKind::Synchronizing, {}, 0});
}

std::vector<SessionEvent> Poll(Session& s, NetTime now) {
  std::vector<SessionEvent> events = std::move(s.pending);
  s.pending.clear();
  if (s.stage == Session::Stage::Over) return events;
  // A side that stood still longer than the other waits has been given up by it: whatever
  // arrived in the meantime is old news.
  const bool stood_still = now - s.last_poll > kQuietLost;
  s.last_poll = now;
  const bool connected = s.link->Service();
  std::vector<uint8_t> bytes;
  while (!stood_still && s.stage != Session::Stage::Over && s.link->Receive(bytes)) {
    const std::optional<Message> message = Decode(bytes.data(), bytes.size());
    if (!message || !Authentic(s, *message)) {
      ++s.dropped;
      continue;
    }
    s.last_heard = now;
    if (s.quiet) {
      s.quiet = false;
      events.push_back({SessionEventKind::Resumed, {}, 0});
    }
    Take(s, *message, now, events);
  }
  if (s.stage == Session::Stage::Over) return events;
  if (stood_still || !connected || now - s.last_heard > kQuietLost) {
    End(s, events, SessionEventKind::ConnectionLost, _("connection lost"));
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
  SendChecks(s, now);
  Compare(s, events);
  return events;
}

bool CanStep(Session& s) {
  if (s.stage != Session::Stage::Running || !CanAdvance(s.rollback)) return false;
  // Half the difference of the two sides' views of who is ahead is how far this one is.
  const double ahead = (Average(s.advantages, s.advantage_samples) -
                        Average(s.remote_advantages, s.remote_advantage_samples)) /
                       2;
  if (ahead >= 1 && s.rollback.pass - s.last_wait >= kWaitEvery) {
    s.last_wait = s.rollback.pass;
    ++s.waits;
    return false;
  }
  return true;
}

PassEvents Step(Session& s, CommandBits own, NetTime now) {
  const PassEvents events = Advance(s.rollback, own);
  SendCommands(s, now);
  HashConfirmed(s);
  return events;
}

int32_t ConfirmedPass(const Session& s) {
  return s.rollback.pass == 0 ? 0 : Confirmed(s.rollback);
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
  const Rollback& r = s.rollback;
  Message leave = MessageOf(MessageType::Leave);
  leave.first = std::max(1, s.remote_ack + 1);
  for (int32_t f = leave.first; f <= r.known[r.local] && leave.inputs.size() < kMaxInputsPerPacket; ++f) {
    leave.inputs.push_back(CommandsOf(r, r.local, f));
  }
  Send(s, leave, true);
  Close(s);
}

}  // namespace brawl
