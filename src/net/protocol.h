#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "net/packed_commands.h"

namespace brawl {

// What the two game processes say to each other. Every message starts with its type; numbers
// are little-endian. Anything that does not decode exactly is dropped and counted.
constexpr uint32_t kProtocolVersion = 1;
constexpr int kMaxInputsPerPacket = 64;

enum class MessageType : uint8_t { Hello = 1, Welcome, Refuse, Commands, Hash, Leave, Ping, Pong };

// Why a host turned a joiner away.
enum class RefuseReason : uint8_t { Version = 1, Build = 2 };

struct Message {
  MessageType type = MessageType::Leave;
  uint32_t version = 0;          // Hello, Welcome
  uint64_t rules = 0;            // Hello, Welcome: the hash of the rules' build
  uint32_t seed = 0;             // Welcome
  RefuseReason reason{};         // Refuse
  int32_t ack = 0;               // Commands: the sender has every command of ours up to this pass
  int32_t pass = 0;              // Commands: the sender's own pass; Hash: the pass hashed
  int32_t first = 0;             // Commands: the pass of inputs[0]
  std::vector<CommandBits> inputs;  // Commands: one per pass from `first` on
  uint64_t hash = 0;             // Hash
  uint32_t stamp = 0;            // Ping, Pong: the pinger's clock in milliseconds
};

inline Message MessageOf(MessageType type) {
  Message m;
  m.type = type;
  return m;
}

std::vector<uint8_t> Encode(const Message& message);
// The message `bytes` hold, or nothing when they are not exactly one well-formed message.
std::optional<Message> Decode(const uint8_t* bytes, size_t size);

}  // namespace brawl
