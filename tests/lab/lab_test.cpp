// The lab (lab.sh): two home routers, a public server and a flooder in network namespaces.
// Players meet by code each way their routers allow, the router's port mapping comes and
// goes through the real miniupnpd, and the server outlives a flood. Needs root and `ip netns`;
// where the lab cannot be made, every test here skips with one line saying why.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "rendezvous/background_process.h"
#include "support/run_brawl.h"

namespace brawl {
namespace {

const std::string kLab = SourceDir() + "/tests/lab/lab.sh";
const std::string kServer = "203.0.113.10";

class Lab : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix_ = "bb" + std::to_string(::getpid());
    why_ = WhyNoLab();
    if (why_.empty()) server_ = new BackgroundProcess(In("srv", {RENDEZVOUS_EXE}));
    if (server_ != nullptr && server_->WaitFor("listening on UDP port 47475", 10) == std::string::npos)
      why_ = "the rendezvous server did not start in the lab: " + server_->output();
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
    RunShell("'" + kLab + "' down " + prefix_);
  }
  void SetUp() override {
    if (!why_.empty()) GTEST_SKIP() << why_;
  }

  static std::string WhyNoLab() {
    if (::geteuid() != 0) return "the network lab needs root";
    for (const char* tool : {"ip", "nft", "miniupnpd"})
      if (RunShell(std::string("command -v ") + tool).exit_code != 0)
        return std::string("the network lab needs ") + tool + " (tools/debian-packages.txt)";
    // Labs left by runs that were killed, named after a process that is gone.
    const RunResult list = RunShell("ip netns list");
    const std::regex stale(R"(^bb([0-9]+)-core)");
    std::istringstream lines(list.out);
    for (std::string line; std::getline(lines, line);) {
      std::smatch m;
      if (std::regex_search(line, m, stale) && ::kill(std::stoi(m[1]), 0) != 0)
        RunShell("'" + kLab + "' down bb" + m[1].str());
    }
    const RunResult up = RunShell("'" + kLab + "' up " + prefix_);
    if (up.exit_code != 0) {
      RunShell("'" + kLab + "' down " + prefix_);
      return "network namespaces cannot be made here: " + up.err.substr(0, up.err.find('\n'));
    }
    return "";
  }

  static std::vector<std::string> In(const std::string& ns, std::vector<std::string> argv) {
    argv.insert(argv.begin(), {"ip", "netns", "exec", prefix_ + "-" + ns});
    return argv;
  }
  static void Router(const std::string& router, const std::string& mode) {
    ASSERT_EQ(RunShell("'" + kLab + "' router " + prefix_ + " " + router + " " + mode).exit_code, 0);
  }
  static std::string Mappings() {
    return RunShell("ip netns exec " + prefix_ + "-rA nft list chain inet filter prerouting_miniupnpd").out;
  }
  // The router rA's miniupnpd, answering UPnP or NAT-PMP only.
  static std::unique_ptr<BackgroundProcess> Miniupnpd(bool upnp) {
    const std::string dir = MakeTempDir();
    std::ofstream(dir + "/miniupnpd.conf")
        << "ext_ifname=wan\nlistening_ip=lan\nhttp_port=0\n"
        << "enable_upnp=" << (upnp ? "yes" : "no") << "\nenable_natpmp=yes\n"
        << "secure_mode=yes\nsystem_uptime=no\n"
        << "uuid=3b5d1a56-8f6b-4c9e-9a49-6a2f7e0c1b21\n"
        << "upnp_table_name=filter\nupnp_nat_table_name=filter\n"
        << "upnp_forward_chain=miniupnpd\nupnp_nat_chain=prerouting_miniupnpd\n"
        << "upnp_nat_postrouting_chain=postrouting_miniupnpd\n"
        << "allow 1024-65535 10.1.0.0/24 1024-65535\n"
        << "deny 0-65535 0.0.0.0/0 0-65535\n";
    auto daemon = std::make_unique<BackgroundProcess>(
        In("rA", {"miniupnpd", "-f", dir + "/miniupnpd.conf", "-d", "-P", dir + "/miniupnpd.pid"}));
    EXPECT_NE(daemon->WaitFor("Listening for NAT-PMP", 10), std::string::npos) << daemon->output();
    return daemon;
  }

  static std::string prefix_, why_;
  static BackgroundProcess* server_;
};
std::string Lab::prefix_, Lab::why_;
BackgroundProcess* Lab::server_ = nullptr;

// What a line "WORD rest" says after WORD, once the process has said it.
std::string After(BackgroundProcess& p, const std::string& word, double seconds) {
  const size_t at = p.WaitFor(word + " ", seconds);
  if (at == std::string::npos || p.WaitFor("\n", seconds, at) == std::string::npos) return "";
  const size_t start = at + word.size() + 1;
  return p.output().substr(start, p.output().find('\n', start) - start);
}

TEST_F(Lab, RoutersKeepPortsOrPickOnePerDestination) {
  BackgroundProcess second(In("srv", {RENDEZVOUS_EXE, "--port", "47485"}));
  ASSERT_NE(second.WaitFor("listening", 10), std::string::npos) << second.output();
  const struct {
    const char* mode;
    bool same;
  } kCases[] = {{"keep", true}, {"random", false}};
  int port = 43000;
  for (const auto& c : kCases) {
    Router("rB", c.mode);
    BackgroundProcess peer(
        In("hB", {LAB_PEER_EXE, "publics", kServer, kServer + ":47485", "--port", std::to_string(++port)}));
    ASSERT_EQ(peer.Wait(20), 0) << peer.output();
    const std::string first = After(peer, "public", 1);
    const std::string then = peer.output().substr(peer.output().rfind("public ") + 7);
    EXPECT_EQ(first.substr(0, 10), "192.0.2.2:") << c.mode;
    if (c.same) {
      EXPECT_EQ(first, "192.0.2.2:" + std::to_string(port)) << c.mode;
      EXPECT_EQ(then, first + "\n") << c.mode;
    } else {
      EXPECT_NE(then, first + "\n") << c.mode << ": " << peer.output();
    }
  }
  Router("rB", "keep");
}

TEST_F(Lab, PortMapperMapsRenewsAndRemovesThroughMiniupnpd) {
  int port = 43100;
  for (const bool upnp : {true, false}) {
    const char* how = upnp ? "UPnP" : "NAT-PMP";
    SCOPED_TRACE(how);
    std::unique_ptr<BackgroundProcess> daemon = Miniupnpd(upnp);
    const std::string text = std::to_string(++port);
    BackgroundProcess probe(In("hA1", {PORTMAP_PROBE_EXE, text, "4"}));
    EXPECT_EQ(After(probe, "mapped", 10), text + " at 11.1.0.2:" + text + " by " + how + ", lease 4 s")
        << probe.output();
    EXPECT_NE(Mappings().find("dnat ip to 10.1.0.2:" + text), std::string::npos) << Mappings();
    // The router forwards what comes from the internet, and renews the lease when asked.
    const RunResult sent = RunShell("ip netns exec " + prefix_ + "-srv '" + LAB_PEER_EXE +
                                    "' send 11.1.0.2:" + text + " through-the-router");
    EXPECT_EQ(sent.exit_code, 0) << sent.err;
    EXPECT_NE(probe.WaitFor("heard through-the-router", 5), std::string::npos) << probe.output();
    EXPECT_NE(probe.WaitFor("renewed", 10), std::string::npos) << probe.output();
    // A stop signal ends it the way the game will: the mapping goes with it.
    EXPECT_EQ(probe.Stop(SIGTERM, 10), 0);
    EXPECT_NE(probe.output().find("removed"), std::string::npos) << probe.output();
    EXPECT_EQ(Mappings().find("dnat"), std::string::npos) << Mappings();
    daemon->Stop(SIGTERM, 10);
  }
  // Behind a router that answers neither, it says so and goes on.
  BackgroundProcess alone(In("hB", {PORTMAP_PROBE_EXE, std::to_string(++port), "60"}));
  EXPECT_EQ(After(alone, "not mapped:", 10), "no router answered within 2 s");
}

TEST_F(Lab, PlayersMeetByCodeEachWayTheirRoutersAllow) {
  struct Case {
    const char* what;
    const char* routers;  // both routers' mode
    const char* host;     // the namespaces of the host and the joiner
    const char* joiner;
    bool upnp;     // rA maps the host's port
    bool low_ttl;  // the first punch probes die between the routers
    const char* path;
  };
  const Case kCases[] = {
      {"punched between port-keeping routers", "keep", "hA1", "hB", false, true, "punched"},
      {"punched past routers that answer strangers", "answering", "hA1", "hB", false, true, "punched"},
      {"those routers give the port away without the low first probes", "answering", "hA1", "hB", false,
       false, "relayed"},
      {"relayed between random-port routers", "random", "hA1", "hB", false, true, "relayed"},
      {"on one LAN", "keep", "hA1", "hA2", false, true, "lan"},
      {"mapped by UPnP on a random-port router", "random", "hA1", "hB", true, true, "mapped"},
  };
  int port = 43200;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    Router("rA", c.routers);
    Router("rB", c.routers);
    std::unique_ptr<BackgroundProcess> daemon = c.upnp ? Miniupnpd(true) : nullptr;
    const std::string text = std::to_string(port += 10);
    std::vector<std::string> host = {LAB_PEER_EXE, "host", kServer, "--port", text};
    if (c.upnp) host.push_back("--map");
    if (!c.low_ttl) host.push_back("--no-low-ttl");
    BackgroundProcess hosting(In(c.host, host));
    const std::string code = After(hosting, "code", 10);
    ASSERT_EQ(code.size(), 9u) << hosting.output();
    std::vector<std::string> join = {LAB_PEER_EXE, "join", kServer, code, "--port", text};
    if (!c.low_ttl) join.push_back("--no-low-ttl");
    BackgroundProcess joining(In(c.joiner, join));
    const std::string joined = After(joining, "connected", 20);
    EXPECT_EQ(joined.substr(0, joined.find(' ')), c.path) << joining.output();
    const std::string hosted = After(hosting, "connected", 20);
    EXPECT_EQ(hosted.substr(0, hosted.find(' ')), c.path) << hosting.output();
    EXPECT_NE(joining.WaitFor("round trip", 20), std::string::npos) << joining.output();
    if (daemon) daemon->Stop(SIGTERM, 10);
  }
  Router("rA", "keep");
  Router("rB", "keep");
}

TEST_F(Lab, AnUnknownCodeIsRefused) {
  BackgroundProcess joining(In("hB", {LAB_PEER_EXE, "join", kServer, "XY2A-7K9M", "--port", "43300"}));
  EXPECT_EQ(joining.Wait(20), 3);
  EXPECT_EQ(After(joining, "failed:", 1), "no game with code XY2A-7K9M");
}

TEST_F(Lab, TheServerOutlivesAFloodWithinItsMemoryAndServesTheNextGame) {
  BackgroundProcess flood(In("fl", {LAB_PEER_EXE, "flood", kServer, "3"}));
  ASSERT_EQ(flood.Wait(30), 0) << flood.output();
  EXPECT_NE(flood.output().find("flooded with"), std::string::npos);
  // `ip netns exec` became the server: its pid is the server's.
  const std::string status = ReadFile("/proc/" + std::to_string(server_->pid()) + "/status");
  std::smatch peak;
  ASSERT_TRUE(std::regex_search(status, peak, std::regex(R"(VmHWM:\s+([0-9]+) kB)"))) << status;
  EXPECT_LT(std::stol(peak[1]), 64 * 1024) << "kB at the peak";

  BackgroundProcess hosting(In("hA1", {LAB_PEER_EXE, "host", kServer, "--port", "43400"}));
  const std::string code = After(hosting, "code", 10);
  ASSERT_EQ(code.size(), 9u) << hosting.output();
  BackgroundProcess joining(In("hB", {LAB_PEER_EXE, "join", kServer, code, "--port", "43400"}));
  EXPECT_EQ(After(joining, "connected", 20).substr(0, 7), "punched") << joining.output();
}

}  // namespace
}  // namespace brawl
