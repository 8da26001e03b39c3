#include "net/protocol.h"

#include "net/wire_bytes.h"

namespace brawl {

namespace {

struct Writer : WireWriter {
  void Inputs(const Message& m) {
    Put(static_cast<uint32_t>(m.first), 4);
    Put(m.inputs.size(), 1);
    for (CommandBits input : m.inputs) Put(input, 2);
  }
};

struct Reader : WireReader {
  int32_t Pass() { return static_cast<int32_t>(static_cast<uint32_t>(Get(4))); }
  // Passes are counted from 1 on; a pass number below that is nobody's.
  void Inputs(Message& m) {
    m.first = Pass();
    const uint64_t count = Get(1);
    if (!ok || count > kMaxInputsPerPacket || m.first < 1) {
      ok = false;
      return;
    }
    m.inputs.reserve(count);
    for (uint64_t i = 0; i < count && ok; ++i) m.inputs.push_back(static_cast<CommandBits>(Get(2)));
  }
};

bool BeforeTheToken(MessageType type) {
  return type == MessageType::Hello || type == MessageType::Welcome || type == MessageType::Refuse;
}

}  // namespace

std::vector<uint8_t> Encode(const Message& m) {
  Writer w;
  w.Put(static_cast<uint8_t>(m.type), 1);
  if (!BeforeTheToken(m.type)) w.Put(m.token, 8);
  switch (m.type) {
    case MessageType::Hello:
      w.Put(m.version, 4);
      w.Put(m.rules, 8);
      if (m.path != LinkPath{}) w.Put(static_cast<uint8_t>(m.path), 1);
      break;
    case MessageType::Welcome:
      w.Put(m.version, 4);
      w.Put(m.rules, 8);
      w.Put(m.seed, 4);
      w.Put(m.token, 8);
      break;
    case MessageType::Refuse:
      w.Put(static_cast<uint8_t>(m.reason), 1);
      break;
    case MessageType::Commands:
      w.Put(static_cast<uint32_t>(m.ack), 4);
      w.Put(static_cast<uint32_t>(m.pass), 4);
      w.Put(static_cast<uint8_t>(m.advantage), 1);
      w.Put(static_cast<uint32_t>(m.hash_ack), 4);
      w.Inputs(m);
      break;
    case MessageType::Hash:
      w.Put(static_cast<uint32_t>(m.pass), 4);
      w.Put(m.hash, 8);
      break;
    case MessageType::Leave:
      w.Inputs(m);
      break;
    case MessageType::Ping:
    case MessageType::Pong:
      w.Put(m.stamp, 4);
      break;
    case MessageType::Desync:
      w.Put(static_cast<uint32_t>(m.pass), 4);
      break;
  }
  return w.out;
}

std::optional<Message> Decode(const uint8_t* bytes, size_t size) {
  Reader r{{bytes, size}};
  Message m;
  const uint64_t type = r.Get(1);
  if (!r.ok || type < 1 || type > static_cast<uint64_t>(MessageType::Desync)) return std::nullopt;
  m.type = static_cast<MessageType>(type);
  if (!BeforeTheToken(m.type)) m.token = r.Get(8);
  switch (m.type) {
    case MessageType::Hello:
    case MessageType::Welcome:
      m.version = static_cast<uint32_t>(r.Get(4));
      m.rules = r.Get(8);
      if (m.type == MessageType::Welcome) {
        m.seed = static_cast<uint32_t>(r.Get(4));
        m.token = r.Get(8);
      } else if (r.left == 1) {
        // A hello of version 2 ends before the path; the host still reads its version to
        // refuse it by name.
        const uint64_t path = r.Get(1);
        if (path < 1 || path > static_cast<uint64_t>(LinkPath::Relayed)) return std::nullopt;
        m.path = static_cast<LinkPath>(path);
      }
      break;
    case MessageType::Refuse: {
      const uint64_t reason = r.Get(1);
      if (reason < 1 || reason > 3) return std::nullopt;
      m.reason = static_cast<RefuseReason>(reason);
      break;
    }
    case MessageType::Commands:
      m.ack = r.Pass();
      m.pass = r.Pass();
      m.advantage = static_cast<int8_t>(static_cast<uint8_t>(r.Get(1)));
      m.hash_ack = r.Pass();
      r.Inputs(m);
      if (m.ack < 0 || m.pass < 0 || m.hash_ack < 0) return std::nullopt;
      break;
    case MessageType::Hash:
      m.pass = r.Pass();
      m.hash = r.Get(8);
      break;
    case MessageType::Leave:
      r.Inputs(m);
      break;
    case MessageType::Ping:
    case MessageType::Pong:
      m.stamp = static_cast<uint32_t>(r.Get(4));
      break;
    case MessageType::Desync:
      m.pass = r.Pass();
      break;
  }
  if (!r.ok || r.left != 0) return std::nullopt;
  return m;
}

bool IsHello(const uint8_t* bytes, size_t size) {
  const std::optional<Message> m = Decode(bytes, size);
  return m && m->type == MessageType::Hello;
}

}  // namespace brawl
