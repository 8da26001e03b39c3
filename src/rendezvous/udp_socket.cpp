#include "rendezvous/udp_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "base/fatal_error.h"

namespace brawl {

namespace {

sockaddr_in SocketAddress(const NetAddress& a) {
  sockaddr_in s{};
  s.sin_family = AF_INET;
  s.sin_addr.s_addr = htonl(a.ip);
  s.sin_port = htons(a.port);
  return s;
}

}  // namespace

UdpSocket::UdpSocket(uint16_t port) {
  const std::string where = "UDP port " + std::to_string(port);
  fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) throw Fatal("network", where, std::strerror(errno));
  const sockaddr_in local = SocketAddress(NetAddress{0, port});
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    const int error = errno;
    ::close(fd_);
    throw Fatal("network", where, std::string("cannot be opened: ") + std::strerror(error));
  }
  sockaddr_in bound{};
  socklen_t length = sizeof bound;
  ::getsockname(fd_, reinterpret_cast<sockaddr*>(&bound), &length);
  port_ = ntohs(bound.sin_port);
  length = sizeof ttl_;
  ::getsockopt(fd_, IPPROTO_IP, IP_TTL, &ttl_, &length);
}

UdpSocket::~UdpSocket() {
  if (fd_ >= 0) ::close(fd_);
}

bool UdpSocket::SendTo(const NetAddress& to, const uint8_t* bytes, size_t size, int ttl) {
  // A short-lived TTL for this datagram only, then the socket's own again.
  if (ttl > 0) ::setsockopt(fd_, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);
  const sockaddr_in target = SocketAddress(to);
  const ssize_t sent =
      ::sendto(fd_, bytes, size, 0, reinterpret_cast<const sockaddr*>(&target), sizeof target);
  if (ttl > 0) ::setsockopt(fd_, IPPROTO_IP, IP_TTL, &ttl_, sizeof ttl_);
  return sent == static_cast<ssize_t>(size);
}

long UdpSocket::Receive(NetAddress& from, uint8_t* buffer, size_t capacity) {
  sockaddr_in source{};
  socklen_t length = sizeof source;
  // A datagram longer than the buffer is cut; MSG_TRUNC tells its real size, and it is
  // refused as malformed.
  const ssize_t size =
      ::recvfrom(fd_, buffer, capacity, MSG_TRUNC, reinterpret_cast<sockaddr*>(&source), &length);
  if (size < 0) return -1;
  from = NetAddress{ntohl(source.sin_addr.s_addr), ntohs(source.sin_port)};
  return static_cast<long>(size);
}

}  // namespace brawl
