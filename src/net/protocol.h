#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "net/link_path.h"
#include "net/packed_commands.h"

namespace brawl {

// What the two game processes say to each other. Every message starts with its type; numbers
// are little-endian. After the handshake every message carries the session's token, which the
// host drew at random for its welcome: a message without it is not the other player's. Anything
// that does not decode exactly is dropped and counted.
constexpr uint32_t kProtocolVersion = 3;
constexpr int kMaxInputsPerPacket = 64;

enum class MessageType : uint8_t { Hello = 1, Welcome, Refuse, Commands, Hash, Leave, Ping, Pong, Desync };

// Why a host turned a joiner away.
enum class RefuseReason : uint8_t { Version = 1, Build = 2, Full = 3 };

struct Message {
  MessageType type = MessageType::Leave;
  uint32_t version = 0;             // Hello, Welcome
  uint64_t rules = 0;               // Hello, Welcome: the hash of the rules' build
  LinkPath path{};                  // Hello: how the joiner reached the host; 0 in older versions' hellos
  uint32_t seed = 0;                // Welcome
  uint64_t token = 0;               // Welcome, and every message after the handshake
  RefuseReason reason{};            // Refuse
  int32_t ack = 0;                  // Commands: the sender has every command of ours up to this pass
  int32_t pass = 0;                 // Commands: the sender's own pass; Hash, Desync: the pass concerned
  int8_t advantage = 0;             // Commands: how many passes the sender runs ahead of us, as it sees it
  int32_t hash_ack = 0;             // Commands: the sender has our hashes up to this pass
  int32_t first = 0;                // Commands, Leave: the pass of inputs[0]
  std::vector<CommandBits> inputs;  // Commands, Leave: one per pass from `first` on
  uint64_t hash = 0;                // Hash
  uint32_t stamp = 0;               // Ping, Pong: the pinger's clock in milliseconds
};

inline Message MessageOf(MessageType type) {
  Message m;
  m.type = type;
  return m;
}

std::vector<uint8_t> Encode(const Message& message);
// The message `bytes` hold, or nothing when they are not exactly one well-formed message.
std::optional<Message> Decode(const uint8_t* bytes, size_t size);
// A joiner's first words, as the host's link must recognise them before it gives the seat.
bool IsHello(const uint8_t* bytes, size_t size);

}  // namespace brawl
