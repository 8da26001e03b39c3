#include "platform/router/router_port_mapper.h"

#include <arpa/inet.h>
#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>
#include <miniupnpc/upnperrors.h>
#include <natpmp.h>
#include <sys/select.h>

#include <chrono>
#include <string>

namespace brawl {

namespace {

constexpr int kDiscoverMs = 1000;  // UPnP's search, then as long again for NAT-PMP at most
constexpr int kNatPmpMs = 1000;
constexpr int kOnlyPermanentLeases = 725;
constexpr const char* kDescription = "Billboard Brawl";

// One NAT-PMP request answered within `budget_ms`, or its error (a NATPMP_ERR_* value).
int NatPmpAnswer(natpmp_t& session, natpmpresp_t& answer, int budget_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(budget_ms);
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return NATPMP_ERR_NOGATEWAYSUPPORT;
    timeval wait{};
    getnatpmprequesttimeout(&session, &wait);
    const long long wait_us = static_cast<long long>(wait.tv_sec) * 1000000 + wait.tv_usec;
    if (wait_us > left.count() || wait_us < 0) {
      wait.tv_sec = static_cast<time_t>(left.count() / 1000000);
      wait.tv_usec = static_cast<suseconds_t>(left.count() % 1000000);
    }
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(session.s, &readable);
    select(session.s + 1, &readable, nullptr, nullptr, &wait);
    const int result = readnatpmpresponseorretry(&session, &answer);
    if (result != NATPMP_TRYAGAIN) return result;
  }
}

class RouterPortMapper final : public PortMapper {
 public:
  ~RouterPortMapper() override {
    Remove();
    if (have_urls_) FreeUPNPUrls(&urls_);
  }

  PortMapping Map(int port, int lease_s) override {
    Remove();
    port_ = port;
    lease_s_ = lease_s;
    std::string upnp_refusal;
    if (MapByUpnp(upnp_refusal) || MapByNatPmp()) return mapping_;
    PortMapping none;
    none.why_not = !upnp_refusal.empty() ? upnp_refusal
                                         : "no router answered within " +
                                               std::to_string((kDiscoverMs + kNatPmpMs) / 1000) + " s";
    return none;
  }

  bool Renew() override {
    if (!mapping_.mapped) return false;
    if (mapping_.how == "UPnP") return AddUpnp(lease_s_) == 0;
    natpmp_t session;
    if (initnatpmp(&session, 0, 0) < 0) return false;
    natpmpresp_t answer{};
    const bool ok = sendnewportmappingrequest(&session, NATPMP_PROTOCOL_UDP, static_cast<uint16_t>(port_),
                                              static_cast<uint16_t>(mapping_.external_port),
                                              static_cast<uint32_t>(lease_s_)) >= 0 &&
                    NatPmpAnswer(session, answer, kNatPmpMs) == 0 &&
                    answer.pnu.newportmapping.mappedpublicport == mapping_.external_port;
    closenatpmp(&session);
    return ok;
  }

  void Remove() override {
    if (!mapping_.mapped) return;
    const std::string external = std::to_string(mapping_.external_port);
    if (mapping_.how == "UPnP") {
      UPNP_DeletePortMapping(urls_.controlURL, data_.first.servicetype, external.c_str(), "UDP", nullptr);
    } else {
      natpmp_t session;
      if (initnatpmp(&session, 0, 0) >= 0) {
        // A lifetime of 0 takes the mapping back.
        natpmpresp_t answer{};
        if (sendnewportmappingrequest(&session, NATPMP_PROTOCOL_UDP, static_cast<uint16_t>(port_), 0, 0) >= 0)
          NatPmpAnswer(session, answer, kNatPmpMs);
        closenatpmp(&session);
      }
    }
    mapping_ = PortMapping{};
  }

 private:
  int AddUpnp(int lease_s) {
    const std::string port = std::to_string(port_), lease = std::to_string(lease_s);
    return UPNP_AddPortMapping(urls_.controlURL, data_.first.servicetype, port.c_str(), port.c_str(), lan_,
                               kDescription, "UDP", nullptr, lease.c_str());
  }

  bool MapByUpnp(std::string& refusal) {
    int error = 0;
    // One search for gateways, answered by IGD version 1 and 2 alike: the library's default
    // tries four kinds of device one after the other, each waiting the whole delay.
    const char* const kinds[] = {"urn:schemas-upnp-org:device:InternetGatewayDevice:1", nullptr};
    UPNPDev* devices =
        upnpDiscoverDevices(kinds, kDiscoverMs, nullptr, nullptr, UPNP_LOCAL_PORT_ANY, 0, 2, &error, 0);
    if (devices == nullptr) return false;
    if (have_urls_) FreeUPNPUrls(&urls_);
    const int found = UPNP_GetValidIGD(devices, &urls_, &data_, lan_, sizeof lan_);
    freeUPNPDevlist(devices);
    have_urls_ = found != 0;
    if (found != 1) return false;
    char external[40] = "";
    if (UPNP_GetExternalIPAddress(urls_.controlURL, data_.first.servicetype, external) != 0 ||
        external[0] == 0) {
      refusal = "the router (UPnP) did not tell its public address";
      return false;
    }
    int result = AddUpnp(lease_s_);
    // Some routers keep mappings only until they are removed.
    if (result == kOnlyPermanentLeases) {
      lease_s_ = 0;
      result = AddUpnp(0);
    }
    if (result != 0) {
      refusal = "the router (UPnP) refused: " + std::to_string(result) + " " + strupnperror(result);
      return false;
    }
    mapping_ = PortMapping{true, "UPnP", external, port_, lease_s_, ""};
    return true;
  }

  bool MapByNatPmp() {
    natpmp_t session;
    if (initnatpmp(&session, 0, 0) < 0) return false;
    natpmpresp_t address{}, answer{};
    const bool ok =
        sendpublicaddressrequest(&session) >= 0 && NatPmpAnswer(session, address, kNatPmpMs) == 0 &&
        sendnewportmappingrequest(&session, NATPMP_PROTOCOL_UDP, static_cast<uint16_t>(port_),
                                  static_cast<uint16_t>(port_), static_cast<uint32_t>(lease_s_)) >= 0 &&
        NatPmpAnswer(session, answer, kNatPmpMs) == 0;
    closenatpmp(&session);
    if (!ok) return false;
    char text[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &address.pnu.publicaddress.addr, text, sizeof text);
    mapping_ = PortMapping{true,
                           "NAT-PMP",
                           text,
                           answer.pnu.newportmapping.mappedpublicport,
                           static_cast<int>(answer.pnu.newportmapping.lifetime),
                           ""};
    return true;
  }

  int port_ = 0, lease_s_ = 0;
  PortMapping mapping_;
  UPNPUrls urls_{};
  IGDdatas data_{};
  bool have_urls_ = false;
  char lan_[64] = "";
};

}  // namespace

std::unique_ptr<PortMapper> MakeRouterPortMapper() {
  return std::make_unique<RouterPortMapper>();
}

}  // namespace brawl
