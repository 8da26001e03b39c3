#include "net/rendezvous_protocol.h"

#include <algorithm>
#include <charconv>

#include "net/wire_bytes.h"

namespace brawl {

namespace {

constexpr uint8_t kMagic[4] = {'B', 'R', 'Z', 'V'};
constexpr size_t kHeaderSize = 6;

struct Writer : WireWriter {
  void Address(const NetAddress& a) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(a.ip >> shift));
    Put(a.port, 2);
  }
};

struct Reader : WireReader {
  NetAddress Address() {
    NetAddress a;
    for (int i = 0; i < 4; ++i) a.ip = (a.ip << 8) | static_cast<uint32_t>(Get(1));
    a.port = static_cast<uint16_t>(Get(2));
    return a;
  }
  // Only zeros may follow a request's fields.
  bool Padding() {
    for (; left > 0; --left, ++at) {
      if (*at != 0) return false;
    }
    return true;
  }
};

void PutLocals(Writer& w, const std::vector<NetAddress>& locals) {
  w.Put(locals.size(), 1);
  for (const NetAddress& a : locals) w.Address(a);
}

bool GetLocals(Reader& r, std::vector<NetAddress>& locals) {
  const uint64_t count = r.Get(1);
  if (!r.ok || count > kMaxLocalAddresses) return false;
  for (uint64_t i = 0; i < count && r.ok; ++i) locals.push_back(r.Address());
  return r.ok;
}

bool GetCode(Reader& r, GameCode& code) {
  for (char& c : code.text) c = static_cast<char>(r.Get(1));
  return r.ok && IsGameCode(code);
}

bool GetSide(Reader& r, Side& side) {
  const uint64_t value = r.Get(1);
  side = static_cast<Side>(value);
  return r.ok && (value == 1 || value == 2);
}

}  // namespace

std::optional<NetAddress> ParseNetAddress(std::string_view text, uint16_t default_port) {
  NetAddress a;
  a.port = default_port;
  const char* at = text.data();
  const char* end = text.data() + text.size();
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (at == end || *at != '.') return std::nullopt;
      ++at;
    }
    unsigned value = 256;
    const auto [next, error] = std::from_chars(at, end, value);
    if (error != std::errc() || value > 255 || next - at > 3) return std::nullopt;
    a.ip = (a.ip << 8) | value;
    at = next;
  }
  if (at != end) {
    unsigned port = 0;
    if (*at != ':') return std::nullopt;
    const auto [next, error] = std::from_chars(at + 1, end, port);
    if (error != std::errc() || next != end || port < 1 || port > 65535 || next - at > 6) return std::nullopt;
    a.port = static_cast<uint16_t>(port);
  }
  return a;
}

bool IsRendezvousRequest(RendezvousType type) {
  switch (type) {
    case RendezvousType::Register:
    case RendezvousType::Join:
    case RendezvousType::Ready:
    case RendezvousType::Alive:
    case RendezvousType::Probe:
    case RendezvousType::RelayBind:
      return true;
    default:
      return false;
  }
}

std::vector<uint8_t> EncodeRendezvous(const RendezvousMessage& m) {
  Writer w;
  w.out.assign(kMagic, kMagic + 4);
  w.Put(kRendezvousVersion, 1);
  w.Put(static_cast<uint8_t>(m.type), 1);
  switch (m.type) {
    case RendezvousType::Register:
      w.Put(m.nonce, 8);
      w.Address(m.mapped);
      PutLocals(w, m.locals);
      break;
    case RendezvousType::Registered:
      w.Put(m.nonce, 8);
      w.Put(m.token, 8);
      for (char c : m.code.text) w.Put(static_cast<uint8_t>(c), 1);
      w.Address(m.public_address);
      w.Put(m.lifetime_s, 2);
      break;
    case RendezvousType::Join:
      w.Put(m.nonce, 8);
      for (char c : m.code.text) w.Put(static_cast<uint8_t>(c), 1);
      PutLocals(w, m.locals);
      break;
    case RendezvousType::Introduce:
      w.Put(m.nonce, 8);
      w.Put(m.token, 8);
      w.Put(static_cast<uint8_t>(m.side), 1);
      w.Address(m.public_address);
      w.Address(m.mapped);
      PutLocals(w, m.locals);
      break;
    case RendezvousType::Ready:
    case RendezvousType::RelayBind:
    case RendezvousType::RelayBound:
      w.Put(m.token, 8);
      w.Put(static_cast<uint8_t>(m.side), 1);
      break;
    case RendezvousType::Punch:
      w.Put(m.token, 8);
      w.Put(m.delay_ms, 2);
      break;
    case RendezvousType::Alive:
      w.Put(m.token, 8);
      break;
    case RendezvousType::Probe:
      w.Put(m.token, 8);
      w.Put(static_cast<uint8_t>(m.side), 1);
      w.Put(static_cast<uint8_t>(m.probe), 1);
      w.Put(static_cast<uint8_t>(m.path), 1);
      w.Put(m.stamp, 4);
      break;
    case RendezvousType::Error:
      w.Put(m.nonce, 8);
      w.Put(static_cast<uint8_t>(m.error), 1);
      break;
  }
  if (IsRendezvousRequest(m.type)) w.out.resize(kRendezvousRequestSize, 0);
  return w.out;
}

std::optional<RendezvousMessage> DecodeRendezvous(const uint8_t* bytes, size_t size) {
  if (size < kHeaderSize || !std::equal(kMagic, kMagic + 4, bytes) || bytes[4] != kRendezvousVersion)
    return std::nullopt;
  const uint8_t type = bytes[5];
  if (type < 1 || type > static_cast<uint8_t>(RendezvousType::Error)) return std::nullopt;
  RendezvousMessage m;
  m.type = static_cast<RendezvousType>(type);
  if (IsRendezvousRequest(m.type) && size != kRendezvousRequestSize) return std::nullopt;
  Reader r{{bytes + kHeaderSize, size - kHeaderSize}};
  bool ok = true;
  switch (m.type) {
    case RendezvousType::Register:
      m.nonce = r.Get(8);
      m.mapped = r.Address();
      ok = GetLocals(r, m.locals);
      break;
    case RendezvousType::Registered:
      m.nonce = r.Get(8);
      m.token = r.Get(8);
      ok = GetCode(r, m.code);
      m.public_address = r.Address();
      m.lifetime_s = static_cast<uint16_t>(r.Get(2));
      break;
    case RendezvousType::Join:
      m.nonce = r.Get(8);
      ok = GetCode(r, m.code) && GetLocals(r, m.locals);
      break;
    case RendezvousType::Introduce:
      m.nonce = r.Get(8);
      m.token = r.Get(8);
      ok = GetSide(r, m.side);
      m.public_address = r.Address();
      m.mapped = r.Address();
      ok = ok && GetLocals(r, m.locals);
      break;
    case RendezvousType::Ready:
    case RendezvousType::RelayBind:
    case RendezvousType::RelayBound:
      m.token = r.Get(8);
      ok = GetSide(r, m.side);
      break;
    case RendezvousType::Punch:
      m.token = r.Get(8);
      m.delay_ms = static_cast<uint16_t>(r.Get(2));
      break;
    case RendezvousType::Alive:
      m.token = r.Get(8);
      break;
    case RendezvousType::Probe: {
      m.token = r.Get(8);
      ok = GetSide(r, m.side);
      const uint64_t probe = r.Get(1), path = r.Get(1);
      m.stamp = static_cast<uint32_t>(r.Get(4));
      ok = ok && probe <= 3 && path >= 1 && path <= 5;
      m.probe = static_cast<ProbeKind>(probe);
      m.path = static_cast<LinkPath>(path);
      break;
    }
    case RendezvousType::Error: {
      m.nonce = r.Get(8);
      const uint64_t error = r.Get(1);
      ok = error >= 1 && error <= 3;
      m.error = static_cast<RendezvousError>(error);
      break;
    }
  }
  if (!ok || !r.ok) return std::nullopt;
  if (IsRendezvousRequest(m.type) ? !r.Padding() : r.left != 0) return std::nullopt;
  return m;
}

}  // namespace brawl
