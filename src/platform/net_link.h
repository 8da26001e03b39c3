#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace brawl {

// One other player's machine, reached over the network. Datagrams are whole messages; a
// reliable one arrives once and in order with the other reliable ones, an unreliable one may
// be lost, duplicated or overtaken.
class NetLink {
 public:
  virtual ~NetLink() = default;
  virtual void Send(const std::vector<uint8_t>& bytes, bool reliable) = 0;
  // Sends what is due and takes in what arrived; false once the peer has gone.
  virtual bool Service() = 0;
  // The next datagram that arrived, if any.
  virtual bool Receive(std::vector<uint8_t>& bytes) = 0;
  // Datagrams refused before the game saw them: from anyone but the peer, a second player.
  virtual int64_t Refused() const = 0;
  // Bytes handed to the network so far, headers of the link's own included.
  virtual int64_t BytesSent() const = 0;
  // Where the peer is, for the player to read ("192.0.2.7:47474").
  virtual std::string PeerAddress() const = 0;
};

}  // namespace brawl
