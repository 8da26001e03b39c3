#include "net/protocol.h"

namespace brawl {

namespace {

struct Writer {
  std::vector<uint8_t> out;
  void Put(uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
};

struct Reader {
  const uint8_t* at;
  size_t left;
  bool ok = true;
  uint64_t Get(int bytes) {
    if (left < static_cast<size_t>(bytes)) {
      ok = false;
      return 0;
    }
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(at[i]) << (8 * i);
    at += bytes;
    left -= static_cast<size_t>(bytes);
    return value;
  }
  int32_t Pass() { return static_cast<int32_t>(static_cast<uint32_t>(Get(4))); }
};

}  // namespace

std::vector<uint8_t> Encode(const Message& m) {
  Writer w;
  w.Put(static_cast<uint8_t>(m.type), 1);
  switch (m.type) {
    case MessageType::Hello:
      w.Put(m.version, 4);
      w.Put(m.rules, 8);
      break;
    case MessageType::Welcome:
      w.Put(m.version, 4);
      w.Put(m.rules, 8);
      w.Put(m.seed, 4);
      break;
    case MessageType::Refuse:
      w.Put(static_cast<uint8_t>(m.reason), 1);
      break;
    case MessageType::Commands:
      w.Put(static_cast<uint32_t>(m.ack), 4);
      w.Put(static_cast<uint32_t>(m.pass), 4);
      w.Put(static_cast<uint32_t>(m.first), 4);
      w.Put(m.inputs.size(), 1);
      for (CommandBits input : m.inputs) w.Put(input, 2);
      break;
    case MessageType::Hash:
      w.Put(static_cast<uint32_t>(m.pass), 4);
      w.Put(m.hash, 8);
      break;
    case MessageType::Ping:
    case MessageType::Pong:
      w.Put(m.stamp, 4);
      break;
    case MessageType::Leave:
      break;
  }
  return w.out;
}

std::optional<Message> Decode(const uint8_t* bytes, size_t size) {
  Reader r{bytes, size};
  Message m;
  const uint64_t type = r.Get(1);
  if (!r.ok || type < 1 || type > static_cast<uint64_t>(MessageType::Pong)) return std::nullopt;
  m.type = static_cast<MessageType>(type);
  switch (m.type) {
    case MessageType::Hello:
    case MessageType::Welcome:
      m.version = static_cast<uint32_t>(r.Get(4));
      m.rules = r.Get(8);
      if (m.type == MessageType::Welcome) m.seed = static_cast<uint32_t>(r.Get(4));
      break;
    case MessageType::Refuse: {
      const uint64_t reason = r.Get(1);
      if (reason != 1 && reason != 2) return std::nullopt;
      m.reason = static_cast<RefuseReason>(reason);
      break;
    }
    case MessageType::Commands: {
      m.ack = r.Pass();
      m.pass = r.Pass();
      m.first = r.Pass();
      const uint64_t count = r.Get(1);
      // Passes are counted from 0 on; nothing past what a match can reach in a year.
      if (!r.ok || count > kMaxInputsPerPacket || m.ack < -1 || m.pass < 0 || m.first < 1)
        return std::nullopt;
      m.inputs.reserve(count);
      for (uint64_t i = 0; i < count && r.ok; ++i) m.inputs.push_back(static_cast<CommandBits>(r.Get(2)));
      break;
    }
    case MessageType::Hash:
      m.pass = r.Pass();
      m.hash = r.Get(8);
      break;
    case MessageType::Ping:
    case MessageType::Pong:
      m.stamp = static_cast<uint32_t>(r.Get(4));
      break;
    case MessageType::Leave:
      break;
  }
  if (!r.ok || r.left != 0) return std::nullopt;
  return m;
}

}  // namespace brawl
