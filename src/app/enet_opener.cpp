#include "app/enet_opener.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <optional>
#include <random>
#include <thread>

#include "base/fatal_error.h"
#include "base/i18n.h"
#include "net/link_sim.h"
#include "net/protocol.h"
#include "net/rendezvous_client.h"
#include "platform/net/enet_link.h"
#include "platform/net/local_network.h"
#include "platform/router/port_mapping_keeper.h"
#include "platform/router/router_port_mapper.h"

namespace brawl {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLeaseS = 600;  // what a game killed outright leaves on the router lapses after this
constexpr auto kAskLanEvery = std::chrono::milliseconds(500);
constexpr auto kLanGather = std::chrono::seconds(1);  // in a window, answers after the first
constexpr int kSliceMs = 20;

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

int GiveUpMs(const OnlinePlan& plan) {
  return plan.give_up_ms > 0 ? plan.give_up_ms : INT_MAX;
}

int MsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<int64_t>(left, 0, INT_MAX));
}

// Headless, what happens is said on stderr for whoever drives the run.
void Say(const OnlinePlan& plan, const std::string& line) {
  if (!plan.in_window) std::fprintf(stderr, _("brawl: net: %s\n"), line.c_str());
}

// What a side keeps beside its link for as long as the link lives: the port the router opened
// for it, and the rendezvous client, which answers the other side's probes.
class Beside final : public SideChannel {
 public:
  explicit Beside(LinkPort& port) : port_(port) {}

  bool Take(const NetAddress& from, const uint8_t* bytes, size_t size) override {
    if (!client) return false;
    std::vector<RendezvousSend> out;
    const bool taken = client->Take(from, bytes, size, NowMs(), out);
    Send(out);
    return taken;
  }

  void Tick() {
    if (!client) return;
    std::vector<RendezvousSend> out;
    client->Tick(NowMs(), out);
    Send(out);
  }

  std::optional<RendezvousClient> client;
  std::unique_ptr<PortMappingKeeper> keeper;

 private:
  void Send(const std::vector<RendezvousSend>& out) {
    for (const RendezvousSend& s : out) port_.SendRaw(s.to, s.bytes, s.ttl);
  }

  LinkPort& port_;
};

Beside& AttachBeside(LinkPort& port) {
  auto beside = std::make_unique<Beside>(port);
  Beside& kept = *beside;
  port.Attach(std::move(beside));
  return kept;
}

RendezvousClient::Setup ClientSetup(Side side, const NetAddress& server, uint16_t port) {
  RendezvousClient::Setup setup;
  setup.side = side;
  setup.server = server;
  setup.locals = LocalAddresses(port);
  std::random_device random;
  setup.nonce = uint64_t{random()} << 32 | random();
  return setup;
}

// The seat goes to the first caller who says hello; later ones are told the game is full.
Admission HostAdmission() {
  Message full = MessageOf(MessageType::Refuse);
  full.reason = RefuseReason::Full;
  return {IsHello, Encode(full)};
}

struct Hosting {
  Hosting(const OnlinePlan& p, LinkWaiting& w, Beside& b) : plan(p), waiting(w), beside(b), beacon(p.port) {}
  const OnlinePlan& plan;
  LinkWaiting& waiting;
  Beside& beside;
  LanBeacon beacon;
  std::optional<NetAddress> server;
  NetAddress mapped;
  std::vector<std::string> lines;
  bool mapping_told = false, code_told = false, failure_told = false, gave_up = false;
};

void TellMapping(Hosting& h, const PortMapping& mapping) {
  if (!mapping.mapped) {
    std::fprintf(stderr, _("brawl: warning: the router did not open UDP port %d: %s\n"), h.plan.port,
                 mapping.why_not.c_str());
    h.lines.push_back(Fill(_("The router did not open the port: {1}"), {mapping.why_not}));
    return;
  }
  const std::string where = mapping.public_address + ":" + std::to_string(mapping.external_port);
  std::printf(_("brawl: others can join at %s (%s)\n"), where.c_str(), mapping.how.c_str());
  std::fflush(stdout);
  h.lines.push_back(Fill(_("Others can join at {1} ({2})"), {where, mapping.how}));
  h.mapped = ParseNetAddress(mapping.public_address, static_cast<uint16_t>(mapping.external_port))
                 .value_or(NetAddress{});
}

bool WhileHosting(void* context) {
  Hosting& h = *static_cast<Hosting*>(context);
  h.beacon.Answer();
  if (h.beside.keeper && !h.mapping_told) {
    if (const std::optional<PortMapping> mapping = h.beside.keeper->Result()) {
      TellMapping(h, *mapping);
      h.mapping_told = true;
    }
  }
  // The server is told the mapped address: the host registers once the router has answered.
  if (h.server && !h.beside.client && (h.mapping_told || !h.beside.keeper)) {
    RendezvousClient::Setup setup = ClientSetup(Side::Host, *h.server, static_cast<uint16_t>(h.plan.port));
    setup.mapped = h.mapped;
    h.beside.client.emplace(setup);
  }
  h.beside.Tick();
  if (const std::optional<RendezvousClient>& client = h.beside.client) {
    using Phase = RendezvousClient::Phase;
    if (!h.code_told && client->phase() != Phase::Asking && client->phase() != Phase::Failed) {
      const std::string code = FormatGameCode(client->code());
      std::printf(_("brawl: game code: %s\n"), code.c_str());
      std::fflush(stdout);
      h.lines.push_back(Fill(_("Game code: {1}"), {code}));
      h.code_told = true;
    }
    // The game is still reached by address or on the local network.
    if (!h.failure_told && client->phase() == Phase::Failed) {
      std::fprintf(stderr, _("brawl: warning: no game code: %s\n"), client->failure().c_str());
      h.lines.push_back(Fill(_("No game code: {1}"), {client->failure()}));
      h.failure_told = true;
    }
  }
  h.gave_up = !h.waiting.Show(h.lines);
  return !h.gave_up;
}

OpenedLink Host(const OnlinePlan& plan, LinkWaiting& waiting) {
  std::optional<NetAddress> server;
  if (!plan.rendezvous.empty()) server = ResolveHost(plan.rendezvous, plan.rendezvous_port);
  std::unique_ptr<LinkPort> port = OpenEnetPort(plan.port);
  Hosting h(plan, waiting, AttachBeside(*port));
  h.server = server;
  if (plan.port_mapping)
    h.beside.keeper = std::make_unique<PortMappingKeeper>(MakeRouterPortMapper(), plan.port, kLeaseS);
  Say(plan, Fill(_("waiting for the other player on UDP port {1}"), {std::to_string(plan.port)}));
  h.lines = {Fill(_("Waiting for the other player on UDP port {1}"), {std::to_string(plan.port)})};
  std::unique_ptr<NetLink> link =
      HostOverEnet(std::move(port), GiveUpMs(plan), HostAdmission(), WhileHosting, &h);
  if (!link && !h.gave_up) throw NetError(_("nobody joined"));
  // The joiner's hello says how it came.
  return {std::move(link), LinkPath::Direct};
}

struct Joining {
  LinkWaiting& waiting;
  std::vector<std::string> lines;
  Beside* beside = nullptr;
  bool gave_up = false;
};

bool WhileJoining(void* context) {
  Joining& j = *static_cast<Joining*>(context);
  if (j.beside != nullptr) j.beside->Tick();
  j.gave_up = !j.waiting.Show(j.lines);
  return !j.gave_up;
}

// The last step of every way to join: ENet's connection to where the host was found.
OpenedLink ConnectTo(std::unique_ptr<LinkPort> port, const NetAddress& to, const std::string& where,
                     LinkPath path, int give_up_ms, Joining& j) {
  std::unique_ptr<NetLink> link = JoinOverEnet(std::move(port), to, give_up_ms, WhileJoining, &j);
  if (!link && !j.gave_up) throw NetError(Fill(_("nobody answered at {1}"), {where}));
  return {std::move(link), path};
}

OpenedLink JoinByAddress(const OnlinePlan& plan, LinkWaiting& waiting) {
  const std::string where = plan.peer + ":" + std::to_string(plan.port);
  const NetAddress to = ResolveHost(plan.peer, plan.port);
  Say(plan, Fill(_("joining {1} ..."), {where}));
  Joining j{waiting, {Fill(_("Joining {1} ..."), {where})}};
  return ConnectTo(OpenEnetPort(0), to, where, LinkPath::Direct, GiveUpMs(plan), j);
}

OpenedLink JoinOnTheLan(const OnlinePlan& plan, LinkWaiting& waiting) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(GiveUpMs(plan));
  LanSearch search;
  Say(plan, _("looking for a game on the local network ..."));
  Joining j{waiting, {_("Looking for a game on the local network ...")}};
  auto next_ask = Clock::now(), first_answer = Clock::time_point::max();
  std::vector<NetAddress> found;
  for (;;) {
    if (Clock::now() >= next_ask) {
      search.Ask();
      next_ask += kAskLanEvery;
    }
    found = search.Found();
    if (!found.empty()) first_answer = std::min(first_answer, Clock::now());
    // Headless, the first game that answers; in a window, all that answer within a second.
    if (!found.empty() && (!plan.in_window || Clock::now() - first_answer >= kLanGather)) break;
    if (Clock::now() >= deadline) throw NetError(_("no game answered on the local network"));
    if (!WhileJoining(&j)) return {};
    std::this_thread::sleep_for(std::chrono::milliseconds(kSliceMs));
  }
  size_t chosen = 0;
  if (found.size() > 1 && plan.in_window) {
    std::vector<std::string> games;
    for (const NetAddress& game : found) games.push_back(AddressText(game));
    const int choice = waiting.Choose(_("Games on the local network:"), games);
    if (choice < 0) return {};
    chosen = static_cast<size_t>(choice);
  }
  const std::string where = AddressText(found[chosen]);
  Say(plan, Fill(_("found a game at {1}"), {where}));
  j.lines = {Fill(_("Joining {1} ..."), {where})};
  return ConnectTo(OpenEnetPort(0), found[chosen], where, LinkPath::Lan, MsLeft(deadline), j);
}

OpenedLink JoinByCode(const OnlinePlan& plan, LinkWaiting& waiting) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(GiveUpMs(plan));
  const NetAddress server = ResolveHost(plan.rendezvous, plan.rendezvous_port);
  std::unique_ptr<LinkPort> port = OpenEnetPort(0);
  Beside& beside = AttachBeside(*port);
  RendezvousClient::Setup setup = ClientSetup(Side::Joiner, server, port->Port());
  setup.code = *ParseGameCode(plan.code);
  // The server's silence ends the wait no sooner than the player's patience.
  setup.timing.server_give_up_ms = setup.timing.relay_give_up_ms = GiveUpMs(plan);
  const RendezvousClient& client = beside.client.emplace(setup);
  Say(plan, Fill(_("joining game {1} through {2} ..."), {plan.code, AddressText(server)}));
  Joining j{waiting, {Fill(_("Joining game {1} ..."), {plan.code})}, &beside};
  while (client.phase() != RendezvousClient::Phase::Connected) {
    if (client.refused() == RendezvousError::NoGame) throw NetError(client.failure(), true);
    if (client.refused()) throw NetError(client.failure());
    if (client.phase() == RendezvousClient::Phase::Failed || Clock::now() >= deadline)
      throw NetError(Fill(_("nobody answered at {1}"), {AddressText(server)}));
    if (!WhileJoining(&j)) return {};
    port->Pump(kSliceMs);
  }
  const std::string where = AddressText(client.peer());
  j.lines.push_back(Fill(_("Found the host ({1})"), {PathName(client.path())}));
  return ConnectTo(std::move(port), client.peer(), where, client.path(), MsLeft(deadline), j);
}

}  // namespace

OpenedLink OpenOverEnet(const OnlinePlan& plan, LinkWaiting& waiting) {
  OpenedLink opened = plan.session.host   ? Host(plan, waiting)
                      : plan.lan          ? JoinOnTheLan(plan, waiting)
                      : plan.code.empty() ? JoinByAddress(plan, waiting)
                                          : JoinByCode(plan, waiting);
  if (opened.link && plan.faulty) opened.link = WithFaults(std::move(opened.link), plan.faults);
  return opened;
}

}  // namespace brawl
