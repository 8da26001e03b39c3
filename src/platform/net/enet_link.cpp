#include "platform/net/enet_link.h"

#include <enet/enet.h>

#include <deque>

#include "base/fatal_error.h"

namespace brawl {

namespace {

constexpr int kChannels = 2;  // 0: reliable control, 1: unsequenced commands
constexpr int kGoodbyeMs = 300;

class EnetLibrary {
 public:
  EnetLibrary() {
    if (enet_initialize() != 0) throw Fatal("network", "ENet", "cannot be started");
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

class EnetLink final : public NetLink {
 public:
  EnetLink(std::unique_ptr<EnetLibrary> library, ENetHost* host, ENetPeer* peer)
      : library_(std::move(library)), host_(host), peer_(peer) {}
  ~EnetLink() override {
    if (peer_ != nullptr) {
      // Whatever is queued (a goodbye) still goes out before the socket closes; a peer that
      // has gone quiet is not waited for long.
      enet_peer_disconnect_later(peer_, 0);
      ENetEvent event;
      for (int waited = 0; waited < kGoodbyeMs && peer_ != nullptr; waited += 10) {
        if (enet_host_service(host_, &event, 10) <= 0) continue;
        if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
        if (event.type == ENET_EVENT_TYPE_DISCONNECT && event.peer == peer_) peer_ = nullptr;
      }
    }
    enet_host_destroy(host_);
  }
  EnetLink(const EnetLink&) = delete;
  EnetLink& operator=(const EnetLink&) = delete;

  void Send(const std::vector<uint8_t>& bytes, bool reliable) override {
    if (peer_ == nullptr) return;
    ENetPacket* packet = enet_packet_create(
        bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    if (packet != nullptr && enet_peer_send(peer_, reliable ? 0 : 1, packet) != 0)
      enet_packet_destroy(packet);
  }

  bool Service() override {
    ENetEvent event;
    while (peer_ != nullptr && enet_host_service(host_, &event, 0) > 0) {
      switch (event.type) {
        case ENET_EVENT_TYPE_CONNECT:
          // Only one other player: anyone else is turned away at once.
          if (event.peer != peer_) {
            enet_peer_disconnect_now(event.peer, 0);
            ++refused_;
          }
          break;
        case ENET_EVENT_TYPE_RECEIVE:
          if (event.peer == peer_) {
            arrived_.emplace_back(event.packet->data, event.packet->data + event.packet->dataLength);
          } else {
            ++refused_;
          }
          enet_packet_destroy(event.packet);
          break;
        case ENET_EVENT_TYPE_DISCONNECT:
          if (event.peer == peer_) peer_ = nullptr;
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

  int64_t Refused() const override { return refused_; }
  int64_t BytesSent() const override { return static_cast<int64_t>(host_->totalSentData); }
  std::string PeerAddress() const override { return peer_ ? AddressText(peer_->address) : "(gone)"; }

 private:
  std::unique_ptr<EnetLibrary> library_;
  ENetHost* host_;
  ENetPeer* peer_;
  std::deque<std::vector<uint8_t>> arrived_;
  int64_t refused_ = 0;
};

// Services `host` until `peer` is connected (or any peer connects when `peer` is null).
ENetPeer* AwaitConnection(ENetHost* host, ENetPeer* peer, int give_up_ms, WhileWaiting waiting,
                          void* context) {
  constexpr int kSlice = 20;
  for (int waited = 0; waited < give_up_ms; waited += kSlice) {
    ENetEvent event;
    while (enet_host_service(host, &event, 0) > 0) {
      if (event.type == ENET_EVENT_TYPE_CONNECT && (peer == nullptr || event.peer == peer)) return event.peer;
      if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
    }
    if (waiting != nullptr && !waiting(context)) return nullptr;
    enet_host_service(host, &event, kSlice);
    if (event.type == ENET_EVENT_TYPE_CONNECT && (peer == nullptr || event.peer == peer)) return event.peer;
    if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<NetLink> HostOverEnet(int port, int give_up_ms, WhileWaiting waiting, void* context) {
  auto library = std::make_unique<EnetLibrary>();
  ENetAddress address{};
  address.host = ENET_HOST_ANY;
  address.port = static_cast<enet_uint16>(port);
  // Room for a second caller, so that it can be told no rather than left unanswered.
  ENetHost* host = enet_host_create(&address, 2, kChannels, 0, 0);
  if (host == nullptr)
    throw Fatal("network", "UDP port " + std::to_string(port), "cannot be opened (in use?)");
  ENetPeer* peer = AwaitConnection(host, nullptr, give_up_ms, waiting, context);
  if (peer == nullptr) {
    enet_host_destroy(host);
    return nullptr;
  }
  return std::make_unique<EnetLink>(std::move(library), host, peer);
}

std::unique_ptr<NetLink> JoinOverEnet(const std::string& name, int port, int give_up_ms, WhileWaiting waiting,
                                      void* context) {
  auto library = std::make_unique<EnetLibrary>();
  ENetAddress address{};
  if (enet_address_set_host(&address, name.c_str()) != 0) throw Fatal("network", name, "no such host");
  address.port = static_cast<enet_uint16>(port);
  ENetHost* host = enet_host_create(nullptr, 1, kChannels, 0, 0);
  if (host == nullptr) throw Fatal("network", name, "cannot open a UDP socket");
  ENetPeer* peer = enet_host_connect(host, &address, kChannels, 0);
  if (peer == nullptr || AwaitConnection(host, peer, give_up_ms, waiting, context) == nullptr) {
    enet_host_destroy(host);
    return nullptr;
  }
  return std::make_unique<EnetLink>(std::move(library), host, peer);
}

}  // namespace brawl
