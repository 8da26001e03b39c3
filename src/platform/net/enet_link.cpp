#include "platform/net/enet_link.h"

#include <enet/enet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <map>

#include "base/fatal_error.h"
#include "base/i18n.h"

namespace brawl {

namespace {

constexpr int kChannels = 2;  // 0: reliable control, 1: unsequenced commands
constexpr int kGoodbyeMs = 300;
constexpr int kSlotsAtHost = 8;  // the other player, and room to answer callers who are not
constexpr int kSliceMs = 20;
constexpr int kRetryMs = 500;

class EnetLibrary {
 public:
  EnetLibrary() {
    if (enet_initialize() != 0) throw Fatal(_("network"), "ENet", _("cannot be started"));
  }
  ~EnetLibrary() { enet_deinitialize(); }
  EnetLibrary(const EnetLibrary&) = delete;
  EnetLibrary& operator=(const EnetLibrary&) = delete;
};

std::string AddressText(const ENetAddress& address) {
  char name[64] = "?";
  enet_address_get_host_ip(&address, name, sizeof name);
  return std::string(name) + ":" + std::to_string(address.port);
}

void SendOn(ENetPeer* peer, const std::vector<uint8_t>& bytes, bool reliable) {
  ENetPacket* packet = enet_packet_create(
      bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
  if (packet != nullptr && enet_peer_send(peer, reliable ? 0 : 1, packet) != 0) enet_packet_destroy(packet);
}

// The port and what arrives at it: every datagram passes the side channel first, and once a
// player has the seat, those from anyone else are counted.
class EnetPort final : public LinkPort {
 public:
  EnetPort(const ENetAddress& address, const std::string& what)
      : host_(enet_host_create(&address, kSlotsAtHost, kChannels, 0, 0)) {
    if (host_ == nullptr) throw Fatal(_("network"), what, _("cannot be opened (in use?)"));
    by_host_[host_] = this;
    host_->intercept = Intercept;
    socklen_t size = sizeof ttl_;
    getsockopt(host_->socket, IPPROTO_IP, IP_TTL, &ttl_, &size);
  }
  ~EnetPort() override {
    by_host_.erase(host_);
    enet_host_destroy(host_);
  }
  EnetPort(const EnetPort&) = delete;
  EnetPort& operator=(const EnetPort&) = delete;

  uint16_t Port() const override {
    ENetAddress address{};
    enet_socket_get_address(host_->socket, &address);
    return address.port;
  }

  void SendRaw(const NetAddress& to, const std::vector<uint8_t>& bytes, int ttl) override {
    const ENetAddress address{htonl(to.ip), to.port};
    ENetBuffer buffer{const_cast<uint8_t*>(bytes.data()), bytes.size()};
    if (ttl > 0) setsockopt(host_->socket, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);
    enet_socket_send(host_->socket, &address, &buffer, 1);
    if (ttl > 0) setsockopt(host_->socket, IPPROTO_IP, IP_TTL, &ttl_, sizeof ttl_);
  }

  void Attach(std::unique_ptr<SideChannel> channel) override { channel_ = std::move(channel); }
  void Pump(int wait_ms) override { enet_host_service(host_, nullptr, static_cast<enet_uint32>(wait_ms)); }

  ENetHost* host() const { return host_; }
  ENetPeer* seated = nullptr;  // the other player, once the link is made
  bool counting = false;       // the link is made: strangers are counted
  int64_t refused = 0;

 private:
  static int Intercept(ENetHost* host, ENetEvent*) {
    const auto found = by_host_.find(host);
    if (found == by_host_.end()) return 0;
    EnetPort& port = *found->second;
    const ENetAddress& from = host->receivedAddress;
    if (port.channel_ && port.channel_->Take(NetAddress{ntohl(from.host), from.port}, host->receivedData,
                                             host->receivedDataLength))
      return 1;
    // Every datagram from an address other than the other player's is a stranger's, counted
    // whatever ENet then makes of it.
    if (port.counting && (port.seated == nullptr || from.host != port.seated->address.host ||
                          from.port != port.seated->address.port))
      ++port.refused;
    return 0;
  }

  static inline std::map<ENetHost*, EnetPort*> by_host_;  // for ENet's callback, which sees only the host

  EnetLibrary library_;
  ENetHost* host_;
  int ttl_ = 64;
  std::unique_ptr<SideChannel> channel_;
};

class EnetLink final : public NetLink {
 public:
  EnetLink(std::unique_ptr<EnetPort> port, ENetPeer* peer, std::vector<uint8_t> full)
      : port_(std::move(port)), host_(port_->host()), peer_(peer), full_(std::move(full)) {
    port_->seated = peer_;
    port_->counting = true;
  }
  ~EnetLink() override {
    if (peer_ != nullptr) {
      // Whatever is queued (a goodbye) still goes out before the socket closes; a peer that
      // has gone quiet is not waited for long.
      enet_peer_disconnect_later(peer_, 0);
      ENetEvent event;
      for (int waited = 0; waited < kGoodbyeMs && peer_ != nullptr; waited += 10) {
        if (enet_host_service(host_, &event, 10) <= 0) continue;
        if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
        if (event.type == ENET_EVENT_TYPE_DISCONNECT && event.peer == peer_) Gone();
      }
    }
  }
  EnetLink(const EnetLink&) = delete;
  EnetLink& operator=(const EnetLink&) = delete;

  void Arrived(const uint8_t* bytes, size_t size) { arrived_.emplace_back(bytes, bytes + size); }

  void Send(const std::vector<uint8_t>& bytes, bool reliable) override {
    if (peer_ != nullptr) SendOn(peer_, bytes, reliable);
  }

  bool Service() override {
    ENetEvent event;
    while (peer_ != nullptr && enet_host_service(host_, &event, 0) > 0) {
      switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
          // Only one other player: anyone else is told so and let go.
          if (event.peer != peer_) {
            if (!full_.empty()) SendOn(event.peer, full_, true);
            enet_peer_disconnect_later(event.peer, 0);
          }
          break;
        case ENET_EVENT_TYPE_RECEIVE:
          if (event.peer == peer_) Arrived(event.packet->data, event.packet->dataLength);
          enet_packet_destroy(event.packet);
          break;
        case ENET_EVENT_TYPE_DISCONNECT:
          if (event.peer == peer_) Gone();
          break;
        case ENET_EVENT_TYPE_NONE:
          break;
      }
    }
    if (peer_ != nullptr) enet_host_flush(host_);
    return peer_ != nullptr;
  }

  bool Receive(std::vector<uint8_t>& bytes) override {
    if (arrived_.empty()) return false;
    bytes = std::move(arrived_.front());
    arrived_.pop_front();
    return true;
  }

  int64_t Refused() const override { return port_->refused; }
  int64_t BytesSent() const override { return static_cast<int64_t>(host_->totalSentData); }
  std::string PeerAddress() const override { return peer_ ? AddressText(peer_->address) : "(gone)"; }

 private:
  void Gone() { peer_ = port_->seated = nullptr; }

  std::unique_ptr<EnetPort> port_;
  ENetHost* host_;
  ENetPeer* peer_;
  std::vector<uint8_t> full_;
  std::deque<std::vector<uint8_t>> arrived_;
};

// Milliseconds since it was made: waiting goes by the clock, whatever each slice costs.
struct Stopwatch {
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  int64_t Ms() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
        .count();
  }
};

// A caller that has connected and not yet said who it is.
struct Caller {
  ENetPeer* peer;
  Stopwatch since;
};

void Drop(std::vector<Caller>& callers, ENetPeer* peer) {
  enet_peer_disconnect_now(peer, 0);
  std::erase_if(callers, [peer](const Caller& c) { return c.peer == peer; });
}

}  // namespace

std::unique_ptr<LinkPort> OpenEnetPort(int port) {
  ENetAddress address{};
  address.host = ENET_HOST_ANY;
  address.port = static_cast<enet_uint16>(port);
  return std::make_unique<EnetPort>(
      address, port == 0 ? _("a UDP port") : Fill(_("UDP port {1}"), {std::to_string(port)}));
}

NetAddress ResolveHost(const std::string& name, int port) {
  const EnetLibrary library;
  ENetAddress address{};
  if (enet_address_set_host(&address, name.c_str()) != 0)
    throw Fatal(_("network"), name + ":" + std::to_string(port),
                _("no such host (or it has no IPv4 address)"));
  return NetAddress{ntohl(address.host), static_cast<uint16_t>(port)};
}

std::unique_ptr<NetLink> HostOverEnet(std::unique_ptr<LinkPort> opened, int give_up_ms,
                                      const Admission& admission, WhileWaiting waiting, void* context) {
  // OpenEnetPort makes every port.
  std::unique_ptr<EnetPort> port(static_cast<EnetPort*>(opened.release()));
  ENetHost* host = port->host();
  std::vector<Caller> callers;
  for (const Stopwatch waited; waited.Ms() < give_up_ms;) {
    ENetEvent event;
    while (enet_host_service(host, &event, 0) > 0) {
      if (event.type == ENET_EVENT_TYPE_CONNECT) callers.push_back({event.peer, {}});
      if (event.type == ENET_EVENT_TYPE_DISCONNECT) Drop(callers, event.peer);
      if (event.type != ENET_EVENT_TYPE_RECEIVE) continue;
      const bool known =
          std::any_of(callers.begin(), callers.end(), [&](const Caller& c) { return c.peer == event.peer; });
      if (known && admission.admits(event.packet->data, event.packet->dataLength)) {
        ENetPeer* seated = event.peer;
        auto link = std::make_unique<EnetLink>(std::move(port), seated, admission.full);
        link->Arrived(event.packet->data, event.packet->dataLength);
        enet_packet_destroy(event.packet);
        for (const Caller& c : callers)
          if (c.peer != seated) enet_peer_disconnect_now(c.peer, 0);
        return link;
      }
      enet_packet_destroy(event.packet);
      if (known) Drop(callers, event.peer);  // said something, but not who it is
    }
    while (!callers.empty() && callers.front().since.Ms() > kSeatWaitMs) Drop(callers, callers.front().peer);
    if (waiting != nullptr && !waiting(context)) break;
    enet_host_service(host, nullptr, kSliceMs);
  }
  return nullptr;
}

std::unique_ptr<NetLink> JoinOverEnet(std::unique_ptr<LinkPort> opened, const NetAddress& to, int give_up_ms,
                                      WhileWaiting waiting, void* context) {
  std::unique_ptr<EnetPort> port(static_cast<EnetPort*>(opened.release()));
  ENetHost* host = port->host();
  const ENetAddress address{htonl(to.ip), to.port};
  ENetPeer* peer = nullptr;
  Stopwatch attempt;
  for (const Stopwatch waited; waited.Ms() < give_up_ms;) {
    // ENet gives up on a connection after a few tries, further and further apart; a fresh try
    // every half second finds a host that starts late at once.
    if (peer == nullptr || attempt.Ms() >= kRetryMs) {
      if (peer != nullptr) enet_peer_reset(peer);
      peer = enet_host_connect(host, &address, kChannels, 0);
      if (peer == nullptr) break;
      attempt = Stopwatch{};
    }
    ENetEvent event;
    while (enet_host_service(host, &event, 0) > 0) {
      if (event.type == ENET_EVENT_TYPE_CONNECT && event.peer == peer)
        return std::make_unique<EnetLink>(std::move(port), peer, std::vector<uint8_t>{});
      if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
    }
    if (waiting != nullptr && !waiting(context)) break;
    enet_host_service(host, nullptr, kSliceMs);
  }
  return nullptr;
}

}  // namespace brawl
