#pragma once
#include <cstddef>
#include <cstdint>

#include "net/rendezvous_protocol.h"

namespace brawl {

// A non-blocking IPv4 UDP socket bound to a port of every local address.
class UdpSocket {
 public:
  // Port 0 takes any free port. Throws FatalError naming the port when it cannot be opened.
  explicit UdpSocket(uint16_t port);
  ~UdpSocket();
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;

  int fd() const { return fd_; }
  uint16_t port() const { return port_; }
  // `ttl` 0 sends with the socket's own; false when the datagram did not leave.
  bool SendTo(const NetAddress& to, const uint8_t* bytes, size_t size, int ttl = 0);
  // The next datagram waiting, if any: its size, or -1 when none.
  long Receive(NetAddress& from, uint8_t* buffer, size_t capacity);

 private:
  int fd_ = -1;
  uint16_t port_ = 0;
  int ttl_ = 64;
};

}  // namespace brawl
