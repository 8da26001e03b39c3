#include "net/rendezvous_client.h"

#include <algorithm>

#include "base/i18n.h"

namespace brawl {

namespace {

constexpr int kChosenForMs = 10000;  // the joiner repeats its choice this long at most

}  // namespace

RendezvousClient::RendezvousClient(const Setup& setup) : setup_(setup) {
  if (setup_.locals.size() > kMaxLocalAddresses) setup_.locals.resize(kMaxLocalAddresses);
}

void RendezvousClient::Send(const NetAddress& to, const RendezvousMessage& m, int ttl,
                            std::vector<RendezvousSend>& out) const {
  out.push_back(RendezvousSend{to, EncodeRendezvous(m), ttl});
}

void RendezvousClient::Probe(const NetAddress& to, ProbeKind kind, LinkPath path, uint32_t stamp, int ttl,
                             std::vector<RendezvousSend>& out) const {
  RendezvousMessage m = RendezvousOf(RendezvousType::Probe);
  m.token = token_;
  m.side = setup_.side;
  m.probe = kind;
  m.path = path;
  m.stamp = stamp;
  Send(to, m, ttl, out);
}

void RendezvousClient::Connect(const NetAddress& peer, LinkPath path) {
  phase_ = Phase::Connected;
  peer_ = peer;
  path_ = path;
}

void RendezvousClient::Fail(const std::string& why) {
  phase_ = Phase::Failed;
  failure_ = why;
}

void RendezvousClient::Ask(int64_t now_ms, std::vector<RendezvousSend>& out) {
  RendezvousMessage m =
      RendezvousOf(setup_.side == Side::Host ? RendezvousType::Register : RendezvousType::Join);
  m.nonce = setup_.nonce;
  m.mapped = setup_.mapped;
  m.code = setup_.code;
  m.locals = setup_.locals;
  Send(setup_.server, m, 0, out);
  next_ask_ms_ = now_ms + setup_.timing.ask_every_ms;
}

void RendezvousClient::Ping(uint32_t stamp, std::vector<RendezvousSend>& out) const {
  if (phase_ == Phase::Connected) Probe(peer_, ProbeKind::Ask, path_, stamp, 0, out);
}

void RendezvousClient::Tick(int64_t now_ms, std::vector<RendezvousSend>& out) {
  const RendezvousTiming& t = setup_.timing;
  if (started_ms_ < 0) started_ms_ = now_ms;
  switch (phase_) {
    case Phase::Asking:
      if (now_ms - started_ms_ >= t.server_give_up_ms) {
        Fail(Fill(_("the rendezvous server at {1} did not answer"), {AddressText(setup_.server)}));
      } else if (now_ms >= next_ask_ms_) {
        Ask(now_ms, out);
      }
      break;
    case Phase::Waiting:
      if (now_ms >= next_ask_ms_) {
        RendezvousMessage m = RendezvousOf(RendezvousType::Alive);
        m.token = token_;
        Send(setup_.server, m, 0, out);
        next_ask_ms_ = now_ms + t.alive_every_ms;
      }
      break;
    case Phase::Looking: {
      if (!punch_ms_) {
        if (now_ms - introduced_ms_ >= t.punch_without_server_ms) {
          punch_ms_ = now_ms;
        } else if (now_ms >= next_ask_ms_) {
          RendezvousMessage m = RendezvousOf(RendezvousType::Ready);
          m.token = token_;
          m.side = setup_.side;
          Send(setup_.server, m, 0, out);
          next_ask_ms_ = now_ms + t.ready_every_ms;
        }
      }
      if (punch_ms_ && now_ms >= *punch_ms_ && low_ttl_sent_ < t.low_ttl_probes) {
        for (; low_ttl_sent_ < t.low_ttl_probes; ++low_ttl_sent_)
          Probe(other_public_, ProbeKind::Ask, LinkPath::Punched, static_cast<uint32_t>(now_ms), t.low_ttl,
                out);
        next_probe_ms_ = std::max(next_probe_ms_, *punch_ms_ + t.full_ttl_after_ms);
      }
      if (now_ms >= next_probe_ms_) {
        for (const Candidate& c : candidates_)
          Probe(c.to, ProbeKind::Ask, c.path, static_cast<uint32_t>(now_ms), 0, out);
        if (punch_ms_ && now_ms >= *punch_ms_ + t.full_ttl_after_ms)
          Probe(other_public_, ProbeKind::Ask, LinkPath::Punched, static_cast<uint32_t>(now_ms), 0, out);
        next_probe_ms_ = now_ms + t.probe_every_ms;
      }
      const int give_up = setup_.side == Side::Joiner ? t.joiner_punch_ms : t.host_punch_ms;
      if (now_ms - punch_ms_.value_or(now_ms) >= give_up) {
        phase_ = Phase::Relaying;
        relay_ms_ = now_ms;
        next_ask_ms_ = now_ms;
      }
      if (phase_ != Phase::Relaying) break;
      [[fallthrough]];
    }
    case Phase::Relaying:
      if (now_ms - relay_ms_ >= t.relay_give_up_ms) {
        Fail(Fill(_("the relay of the rendezvous server at {1} did not answer"),
                  {AddressText(setup_.server)}));
      } else if (now_ms >= next_ask_ms_) {
        RendezvousMessage m = RendezvousOf(RendezvousType::RelayBind);
        m.token = token_;
        m.side = setup_.side;
        Send(relay(), m, 0, out);
        next_ask_ms_ = now_ms + t.relay_every_ms;
      }
      break;
    case Phase::Connected:
      // The joiner tells the host which way it took until the host says it knows.
      if (setup_.side == Side::Joiner && !chosen_answered_ && now_ms - connected_ms_ < kChosenForMs &&
          now_ms >= next_probe_ms_) {
        Probe(peer_, ProbeKind::Chosen, path_, static_cast<uint32_t>(now_ms), 0, out);
        next_probe_ms_ = now_ms + t.probe_every_ms;
      }
      break;
    case Phase::Failed:
      break;
  }
}

bool RendezvousClient::Take(const NetAddress& from, const uint8_t* bytes, size_t size, int64_t now_ms,
                            std::vector<RendezvousSend>& out) {
  const std::optional<RendezvousMessage> m = DecodeRendezvous(bytes, size);
  if (!m) return false;
  if (m->type == RendezvousType::Probe) {
    OnProbe(from, *m, now_ms, out);
  } else if (from == setup_.server) {
    OnServer(*m, now_ms, out);
  } else if (from == relay() && m->type == RendezvousType::RelayBound && phase_ == Phase::Relaying &&
             m->token == token_ && m->side == setup_.side) {
    Connect(relay(), LinkPath::Relayed);
    connected_ms_ = now_ms;
    next_probe_ms_ = now_ms;
  }
  return true;
}

void RendezvousClient::OnServer(const RendezvousMessage& m, int64_t now_ms,
                                std::vector<RendezvousSend>& out) {
  const std::string code = FormatGameCode(setup_.code);
  switch (m.type) {
    case RendezvousType::Registered:
      if (phase_ != Phase::Asking || setup_.side != Side::Host || m.nonce != setup_.nonce) return;
      token_ = m.token;
      setup_.code = m.code;
      public_ = m.public_address;
      phase_ = Phase::Waiting;
      next_ask_ms_ = now_ms + setup_.timing.alive_every_ms;
      return;
    case RendezvousType::Introduce: {
      const bool expected =
          setup_.side == Side::Host ? phase_ == Phase::Waiting && m.token == token_ : phase_ == Phase::Asking;
      if (!expected || m.nonce != setup_.nonce || m.side != setup_.side) return;
      token_ = m.token;
      other_public_ = m.public_address;
      if (setup_.side == Side::Joiner) {
        if (m.mapped.ip != 0) candidates_.push_back({m.mapped, LinkPath::Mapped});
        const bool no_router = std::any_of(m.locals.begin(), m.locals.end(),
                                           [&](const NetAddress& a) { return a == m.public_address; });
        if (no_router) {
          candidates_.push_back({m.public_address, LinkPath::Direct});
        } else {
          for (const NetAddress& a : m.locals) candidates_.push_back({a, LinkPath::Lan});
        }
      }
      phase_ = Phase::Looking;
      introduced_ms_ = now_ms;
      next_ask_ms_ = now_ms;
      next_probe_ms_ = now_ms;
      Tick(now_ms, out);
      return;
    }
    case RendezvousType::Punch:
      if (phase_ != Phase::Looking || m.token != token_ || punch_ms_) return;
      punch_ms_ = now_ms + m.delay_ms;
      return;
    case RendezvousType::Error:
      if (m.nonce != setup_.nonce && (token_ == 0 || m.nonce != token_)) return;
      if (phase_ == Phase::Connected || phase_ == Phase::Failed) return;
      refused_ = m.error;
      if (m.error == RendezvousError::NoGame) {
        Fail(setup_.side == Side::Joiner ? Fill(_("no game with code {1}"), {code})
                                         : Fill(_("the game code {1} expired"), {code}));
      } else if (m.error == RendezvousError::Taken) {
        Fail(Fill(_("the game with code {1} already has two players"), {code}));
      } else {
        Fail(Fill(_("the rendezvous server at {1} has no room for another game"),
                  {AddressText(setup_.server)}));
      }
      return;
    default:
      return;
  }
}

void RendezvousClient::OnProbe(const NetAddress& from, const RendezvousMessage& m, int64_t now_ms,
                               std::vector<RendezvousSend>& out) {
  if (token_ == 0 || m.token != token_ || m.side == setup_.side) return;
  // A waiting host already knows the token: a joiner that reaches it before the server has
  // told it so is answered at once.
  if (phase_ == Phase::Asking || phase_ == Phase::Failed) return;
  switch (m.probe) {
    case ProbeKind::Ask:
      Probe(from, ProbeKind::Answer, m.path, m.stamp, 0, out);
      return;
    case ProbeKind::Chosen:
      Probe(from, ProbeKind::Agreed, m.path, m.stamp, 0, out);
      if (setup_.side == Side::Host) Connect(from, m.path);
      return;
    case ProbeKind::Answer:
      round_trip_ms_ = static_cast<int>(static_cast<uint32_t>(now_ms) - m.stamp);
      answered_stamp_ = m.stamp;
      if (setup_.side == Side::Joiner && phase_ == Phase::Looking) {
        Connect(from, m.path);
        connected_ms_ = now_ms;
        next_probe_ms_ = now_ms;
        Tick(now_ms, out);
      }
      return;
    case ProbeKind::Agreed:
      if (phase_ == Phase::Connected && from == peer_) chosen_answered_ = true;
      return;
  }
}

}  // namespace brawl
