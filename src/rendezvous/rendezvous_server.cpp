#include "rendezvous/rendezvous_server.h"

#include <algorithm>

namespace brawl {

namespace {

// Both sides hear their punch in the answer to their next Ready, which they send every 100 ms:
// the punch is set this far after the second one is ready, plus the longer round trip.
constexpr int64_t kPunchLeadMs = 150;
constexpr int64_t kSummaryEveryMs = 60000;

uint64_t CodeKey(const GameCode& code) {
  uint64_t key = 0;
  for (char c : code.text) key = (key << 8) | static_cast<uint8_t>(c);
  return key;
}

uint64_t EndKey(const NetAddress& a) {
  return (static_cast<uint64_t>(a.ip) << 16) | a.port;
}

bool Has(const std::vector<NetAddress>& addresses, const NetAddress& a) {
  return std::find(addresses.begin(), addresses.end(), a) != addresses.end();
}

}  // namespace

RendezvousServer::RendezvousServer(const ServerLimits& limits, RandomFill random, void* context, Log log)
    : limits_(limits),
      random_(random),
      context_(context),
      log_(std::move(log)),
      games_(static_cast<size_t>(limits.max_games)),
      sources_(limits.source_slots, limits.requests_per_s, limits.request_burst),
      answers_(limits.answers_per_s, limits.answers_per_s) {
  for (int i = limits.max_games - 1; i >= 0; --i) free_.push_back(i);
  by_code_.reserve(static_cast<size_t>(limits.max_games));
  by_token_.reserve(static_cast<size_t>(limits.max_games));
  by_nonce_.reserve(static_cast<size_t>(limits.max_games));
  by_relay_end_.reserve(static_cast<size_t>(2 * limits.max_relayed));
}

uint64_t RendezvousServer::FreshToken() {
  uint64_t token = 0;
  while (token == 0 || by_token_.count(token) != 0)
    random_(reinterpret_cast<uint8_t*>(&token), sizeof token, context_);
  return token;
}

RendezvousServer::Game* RendezvousServer::ByToken(uint64_t token) {
  const auto it = by_token_.find(token);
  return it == by_token_.end() ? nullptr : &games_[static_cast<size_t>(it->second)];
}

void RendezvousServer::Answer(const NetAddress& to, const RendezvousMessage& m, bool relay, int64_t now_ms,
                              std::vector<ServerSend>& out) {
  if (!answers_.Take(1, now_ms)) {
    ++dropped_;
    return;
  }
  out.push_back(ServerSend{to, EncodeRendezvous(m), relay});
}

void RendezvousServer::Refuse(const NetAddress& to, uint64_t nonce, RendezvousError error, bool relay,
                              int64_t now_ms, std::vector<ServerSend>& out) {
  RendezvousMessage m = RendezvousOf(RendezvousType::Error);
  m.nonce = nonce;
  m.error = error;
  Answer(to, m, relay, now_ms, out);
}

void RendezvousServer::OnControl(const NetAddress& from, const uint8_t* bytes, size_t size, int64_t now_ms,
                                 std::vector<ServerSend>& out) {
  std::optional<RendezvousMessage> m;
  if (sources_.Allow(from.ip, now_ms)) m = DecodeRendezvous(bytes, size);
  if (!m) {
    ++dropped_;
    return;
  }
  switch (m->type) {
    case RendezvousType::Register:
      Register(from, *m, now_ms, out);
      return;
    case RendezvousType::Join:
      Join(from, *m, now_ms, out);
      return;
    case RendezvousType::Alive: {
      Game* g = ByToken(m->token);
      if (g == nullptr) {
        Refuse(from, m->token, RendezvousError::NoGame, false, now_ms, out);
      } else if (!g->joined) {
        g->host = from;  // the host's router may have given it another port
        g->host_seen_ms = now_ms;
      } else if (from == g->host && !g->ready[0]) {
        Introduce(*g, 0, now_ms, out);
      }
      return;
    }
    case RendezvousType::Ready: {
      Game* g = ByToken(m->token);
      const int i = m->side == Side::Host ? 0 : 1;
      if (g == nullptr || !g->joined || from != (i == 0 ? g->host : g->joiner)) {
        ++dropped_;
        return;
      }
      if (!g->ready[i]) {
        g->ready[i] = true;
        g->trip_ms[i] = now_ms - g->introduce_sent_ms[i];
      }
      if (!g->ready[1 - i]) return;
      if (g->punch_ms < 0) g->punch_ms = now_ms + kPunchLeadMs + std::max(g->trip_ms[0], g->trip_ms[1]);
      // The punch reaches this side half its round trip from now.
      RendezvousMessage punch = RendezvousOf(RendezvousType::Punch);
      punch.token = g->token;
      punch.delay_ms =
          static_cast<uint16_t>(std::clamp<int64_t>(g->punch_ms - now_ms - g->trip_ms[i] / 2, 0, 5000));
      Answer(from, punch, false, now_ms, out);
      return;
    }
    default:
      ++dropped_;
      return;
  }
}

void RendezvousServer::Register(const NetAddress& from, const RendezvousMessage& m, int64_t now_ms,
                                std::vector<ServerSend>& out) {
  RendezvousMessage answer = RendezvousOf(RendezvousType::Registered);
  answer.nonce = m.nonce;
  answer.public_address = from;
  answer.lifetime_s = static_cast<uint16_t>(limits_.code_lifetime_s);
  // A repeat of a request already answered: the same answer.
  const auto repeat = by_nonce_.find(m.nonce);
  if (repeat != by_nonce_.end()) {
    const Game& g = games_[static_cast<size_t>(repeat->second)];
    if (g.host == from && !g.joined) {
      answer.token = g.token;
      answer.code = g.code;
      Answer(from, answer, false, now_ms, out);
    } else {
      ++dropped_;
    }
    return;
  }
  int& waiting = waiting_per_ip_[from.ip];
  if (free_.empty() || waiting >= limits_.max_games_per_ip) {
    if (waiting == 0) waiting_per_ip_.erase(from.ip);
    Refuse(from, m.nonce, RendezvousError::Full, false, now_ms, out);
    return;
  }
  ++waiting;
  const int index = free_.back();
  free_.pop_back();
  Game& g = games_[static_cast<size_t>(index)];
  g = Game{};
  g.used = true;
  do {
    g.code = RandomGameCode(random_, context_);
  } while (by_code_.count(CodeKey(g.code)) != 0);
  g.token = FreshToken();
  g.host_nonce = m.nonce;
  g.host = from;
  g.mapped = m.mapped;
  g.host_locals = m.locals;
  g.created_ms = g.host_seen_ms = now_ms;
  by_code_[CodeKey(g.code)] = index;
  by_token_[g.token] = index;
  by_nonce_[g.host_nonce] = index;
  answer.token = g.token;
  answer.code = g.code;
  Answer(from, answer, false, now_ms, out);
}

void RendezvousServer::Join(const NetAddress& from, const RendezvousMessage& m, int64_t now_ms,
                            std::vector<ServerSend>& out) {
  const auto it = by_code_.find(CodeKey(m.code));
  if (it == by_code_.end()) {
    Refuse(from, m.nonce, RendezvousError::NoGame, false, now_ms, out);
    return;
  }
  Game& g = games_[static_cast<size_t>(it->second)];
  if (g.joined) {
    if (g.joiner != from || g.joiner_nonce != m.nonce) {
      Refuse(from, m.nonce, RendezvousError::Taken, false, now_ms, out);
    } else if (!g.ready[1]) {
      Introduce(g, 1, now_ms, out);  // its introduction went astray
    }
    return;
  }
  if (--waiting_per_ip_[g.host.ip] <= 0) waiting_per_ip_.erase(g.host.ip);
  g.joined = true;
  g.joiner = from;
  g.joiner_nonce = m.nonce;
  g.joiner_locals = m.locals;
  g.introduced_ms = now_ms;
  Introduce(g, 1, now_ms, out);
}

void RendezvousServer::Introduce(Game& g, int side, int64_t now_ms, std::vector<ServerSend>& out) {
  // Local addresses go only to a side behind the same public address (or when the host has no
  // router at all): nobody else has a use for them.
  const bool same_lan = g.host.ip == g.joiner.ip;
  RendezvousMessage m = RendezvousOf(RendezvousType::Introduce);
  m.token = g.token;
  m.side = side == 0 ? Side::Host : Side::Joiner;
  m.nonce = side == 0 ? g.host_nonce : g.joiner_nonce;
  m.public_address = side == 0 ? g.joiner : g.host;
  if (side == 1) m.mapped = g.mapped;
  const std::vector<NetAddress>& locals = side == 0 ? g.joiner_locals : g.host_locals;
  if (same_lan || (side == 1 && Has(g.host_locals, g.host))) m.locals = locals;
  Answer(side == 0 ? g.host : g.joiner, m, false, now_ms, out);
  if (g.introduce_sent_ms[side] < 0) g.introduce_sent_ms[side] = now_ms;
}

void RendezvousServer::OnRelay(const NetAddress& from, const uint8_t* bytes, size_t size, int64_t now_ms,
                               std::vector<ServerSend>& out) {
  const auto bound = by_relay_end_.find(EndKey(from));
  if (bound != by_relay_end_.end()) {
    Game& g = games_[static_cast<size_t>(bound->second)];
    const int i = g.relay_end[0] == from && g.bound[0] ? 0 : 1;
    const std::optional<RendezvousMessage> m =
        size == kRendezvousRequestSize ? DecodeRendezvous(bytes, size) : std::nullopt;
    const bool bind = m && m->type == RendezvousType::RelayBind;
    if (bind && m->token == g.token) {
      RendezvousMessage answer = RendezvousOf(RendezvousType::RelayBound);
      answer.token = g.token;
      answer.side = m->side;
      Answer(from, answer, true, now_ms, out);
      return;
    }
    if (bind && ByToken(m->token) != nullptr) {
      // A player's next game from the same port, which its router still maps to the same
      // public port: the endpoint leaves the last game for this one.
      g.bound[i] = false;
      by_relay_end_.erase(bound);
      return OnRelay(from, bytes, size, now_ms, out);
    }
    const double budget = static_cast<double>(limits_.relay_bytes_per_s);
    g.relay_tokens =
        std::min(budget, g.relay_tokens + budget * static_cast<double>(now_ms - g.relay_refill_ms) / 1000.0);
    g.relay_refill_ms = now_ms;
    if (!g.bound[1 - i] || g.relay_tokens < static_cast<double>(size)) {
      ++dropped_;
      return;
    }
    g.relay_tokens -= static_cast<double>(size);
    g.relayed_bytes += static_cast<int64_t>(size);
    g.relay_seen_ms = now_ms;
    out.push_back(ServerSend{g.relay_end[1 - i], std::vector<uint8_t>(bytes, bytes + size), true, true});
    return;
  }
  std::optional<RendezvousMessage> m;
  if (sources_.Allow(from.ip, now_ms)) m = DecodeRendezvous(bytes, size);
  Game* g = (m && m->type == RendezvousType::RelayBind) ? ByToken(m->token) : nullptr;
  if (g == nullptr || !g->joined) {
    ++dropped_;
    return;
  }
  if (!g->relaying) {
    if (relayed_ >= limits_.max_relayed) {
      Refuse(from, m->token, RendezvousError::Full, true, now_ms, out);
      return;
    }
    g->relaying = true;
    ++relayed_;
    g->relay_tokens = limits_.relay_bytes_per_s;
    g->relay_refill_ms = now_ms;
  }
  const int i = m->side == Side::Host ? 0 : 1;
  if (g->bound[i]) by_relay_end_.erase(EndKey(g->relay_end[i]));
  g->relay_end[i] = from;
  g->bound[i] = true;
  by_relay_end_[EndKey(from)] = static_cast<int>(g - games_.data());
  g->relay_seen_ms = now_ms;
  RendezvousMessage answer = RendezvousOf(RendezvousType::RelayBound);
  answer.token = g->token;
  answer.side = m->side;
  Answer(from, answer, true, now_ms, out);
}

void RendezvousServer::End(Game& g, int64_t now_ms, const char* why) {
  std::string line = "game " + FormatGameCode(g.code) + ": host " + AddressText(g.host);
  line += g.joined ? ", joiner " + AddressText(g.joiner) : ", nobody joined";
  if (g.relaying) line += ", relayed " + std::to_string(g.relayed_bytes) + " bytes";
  line += ", " + std::to_string((now_ms - g.created_ms) / 1000) + " s, " + why;
  log_(line);
  by_code_.erase(CodeKey(g.code));
  by_token_.erase(g.token);
  by_nonce_.erase(g.host_nonce);
  for (int i = 0; i < 2; ++i)
    if (g.bound[i]) by_relay_end_.erase(EndKey(g.relay_end[i]));
  if (!g.joined && --waiting_per_ip_[g.host.ip] <= 0) waiting_per_ip_.erase(g.host.ip);
  if (g.relaying) --relayed_;
  const int index = static_cast<int>(&g - games_.data());
  g = Game{};
  free_.push_back(index);
}

void RendezvousServer::Tick(int64_t now_ms) {
  if (summary_ms_ < 0) summary_ms_ = now_ms;
  if (now_ms - summary_ms_ >= kSummaryEveryMs) {
    if (dropped_ > 0)
      log_("dropped " + std::to_string(dropped_) +
           " datagrams in the last minute: malformed, unasked for, or over a rate limit");
    dropped_total_ += dropped_;
    dropped_ = 0;
    summary_ms_ = now_ms;
  }
  for (Game& g : games_) {
    if (!g.used) continue;
    if (!g.joined) {
      if (now_ms - g.created_ms >= int64_t{limits_.code_lifetime_s} * 1000) {
        End(g, now_ms, "expired");
      } else if (now_ms - g.host_seen_ms >= int64_t{limits_.host_silent_s} * 1000) {
        End(g, now_ms, "the host went silent");
      }
      continue;
    }
    if (g.relaying ? now_ms - g.relay_seen_ms >= int64_t{limits_.relay_idle_s} * 1000
                   : now_ms - g.introduced_ms >= int64_t{limits_.introduced_keep_s} * 1000) {
      End(g, now_ms, g.relaying ? "the relay went idle" : "introduced");
    }
  }
}

}  // namespace brawl
