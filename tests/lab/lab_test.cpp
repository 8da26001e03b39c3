// The real game in the lab (lab.sh): two home routers, a public server and a host on the open
// net (the flooder's namespace) in network namespaces. Two headless players meet each way the
// routers allow and agree on every frame, the router's port mapping goes with the game, and the
// server still introduces them after a flood (its memory then is bench/rendezvous.sh's). An
// unknown code is the server program's test, on loopback. Needs root and `ip netns`; where the
// lab cannot be made, every test here skips with one line saying why.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "e2e/game_process.h"
#include "support/run_brawl.h"

namespace brawl {
namespace {

using nlohmann::json;
using std::chrono::seconds;

const std::string kLab = SourceDir() + "/tests/lab/lab.sh";
const std::string kServer = "203.0.113.10";

class Lab : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_ = "bb" + std::to_string(::getpid());
    const std::string why = WhyNoLab();
    if (!why.empty()) GTEST_SKIP() << why;
    server_ = In("srv", RENDEZVOUS_EXE, {});
    ASSERT_TRUE(server_->Said("listening on UDP port 47475")) << server_->Errors();
  }
  void TearDown() override {
    server_.reset();
    RunShell("'" + kLab + "' down " + prefix_);
  }

  std::string WhyNoLab() {
    if (::geteuid() != 0) return "the network lab needs root";
    for (const char* tool : {"ip", "nft", "miniupnpd"})
      if (RunShell(std::string("command -v ") + tool).exit_code != 0)
        return std::string("the network lab needs ") + tool + " (tools/debian-packages.txt)";
    // Labs left by runs that were killed, named after a process that is gone.
    std::istringstream lines(RunShell("ip netns list").out);
    for (std::string line; std::getline(lines, line);) {
      std::smatch m;
      if (std::regex_search(line, m, std::regex(R"(^bb([0-9]+)-core)")) && ::kill(std::stoi(m[1]), 0) != 0)
        RunShell("'" + kLab + "' down bb" + m[1].str());
    }
    const RunResult up = RunShell("'" + kLab + "' up " + prefix_);
    if (up.exit_code == 0) return "";
    return "network namespaces cannot be made here: " + up.err.substr(0, up.err.find('\n'));
  }

  // A program run in namespace `ns` of the lab.
  std::unique_ptr<GameProcess> In(const std::string& ns, const std::string& exe,
                                  std::vector<std::string> args) {
    args.insert(args.begin(), {"netns", "exec", prefix_ + "-" + ns, exe});
    return std::make_unique<GameProcess>("", args, dir_, "ip");
  }
  // The game, headless, with the lab's scripts and a dump named after `side`.
  std::unique_ptr<GameProcess> Brawl(const std::string& ns, const std::string& side,
                                     std::vector<std::string> args) {
    const std::vector<std::string> common = {"--headless", "--app-path",  BuildDir(), "--input-delay", "2",
                                             "--script",   side + ".txt", "--dump",   side + ".jsonl"};
    args.insert(args.begin(), common.begin(), common.end());
    return In(ns, BRAWL_EXE, args);
  }
  void Router(const std::string& router, const std::string& mode) {
    ASSERT_EQ(RunShell("'" + kLab + "' router " + prefix_ + " " + router + " " + mode).exit_code, 0);
  }
  std::string Mappings() {
    return RunShell("ip netns exec " + prefix_ + "-rA nft list chain inet filter prerouting_miniupnpd").out;
  }
  // The router rA's miniupnpd, answering UPnP and NAT-PMP or NAT-PMP only.
  std::unique_ptr<GameProcess> Miniupnpd(bool upnp) {
    std::ofstream(dir_ + "/miniupnpd.conf") << ReadFile(SourceDir() + "/tests/lab/miniupnpd.conf")
                                            << "enable_upnp=" << (upnp ? "yes" : "no") << "\n";
    std::unique_ptr<GameProcess> daemon =
        In("rA", "miniupnpd", {"-f", "miniupnpd.conf", "-P", "miniupnpd.pid", "-d"});
    EXPECT_TRUE(daemon->Said("Listening for NAT-PMP")) << daemon->Errors();
    return daemon;
  }
  // What the program printed on standard output once it has printed `words`; "" if it did not.
  static std::string Printed(const GameProcess& p, const std::string& words) {
    Until([&] { return p.Ended() || p.Output().find(words) != std::string::npos; }, seconds(10));
    const std::string out = p.Output();
    const size_t at = out.find(words), end = out.find('\n', at);
    return at == std::string::npos || end == std::string::npos ? "" : out.substr(at, end - at);
  }

  std::string prefix_;
  std::string dir_ = MakeTempDir();
  std::unique_ptr<GameProcess> server_;
};

// One way through (tests/lab/ways.tsv).
class LabGame : public Lab, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(LabGame, PlayersMeetAgreeOnEveryFrameAndNameThePath) {
  const std::string &path = GetParam()[0], &routers = GetParam()[1], &how = GetParam()[4];
  Router("rA", routers);
  Router("rB", routers);
  std::unique_ptr<GameProcess> daemon = how.empty() ? nullptr : Miniupnpd(how == "UPnP");
  if (GetParam()[5] == "1") {
    std::unique_ptr<GameProcess> flood = In("fl", FLOODER_EXE, {kServer, "3"});
    ASSERT_EQ(flood->Wait(seconds(30)), 0) << flood->Errors();
  }
  // The host fires at the joiner, who stands still.
  std::ofstream(dir_ + "/host.txt") << "5\n1 Enter\n80 Num3\n";
  std::ofstream(dir_ + "/join.txt") << "86\n";
  const bool lan = path == "lan";
  std::vector<std::string> hosting = {"--host"}, joining = {"--join"};
  if (!lan) hosting.insert(hosting.end(), {"--rendezvous", kServer});
  std::unique_ptr<GameProcess> host_process = Brawl(GetParam()[2], "host", hosting);
  GameProcess& host = *host_process;
  if (how.empty()) {
    EXPECT_TRUE(
        host.Said("brawl: warning: the router did not open UDP port 47474: no router answered within 2 s"))
        << host.Errors();
  } else {
    EXPECT_EQ(Printed(host, "brawl: others"), "brawl: others can join at 11.1.0.2:47474 (" + how + ")");
    EXPECT_NE(Mappings().find("dnat ip to 10.1.0.2:47474"), std::string::npos) << Mappings();
  }
  if (lan) {
    ASSERT_TRUE(host.Said("waiting for the other player")) << host.Errors();
  } else {
    const std::string code = Printed(host, "brawl: game code: ");
    ASSERT_EQ(code.size(), 27u) << host.Output() << host.Errors();
    joining.insert(joining.end(), {code.substr(18), "--rendezvous", kServer});
  }
  std::unique_ptr<GameProcess> joiner = Brawl(GetParam()[3], "join", joining);
  EXPECT_EQ(joiner->Wait(seconds(30)), 0) << joiner->Errors();
  EXPECT_EQ(host.Wait(seconds(10)), 0) << host.Errors();
  EXPECT_EQ(Mappings().find("dnat"), std::string::npos) << "left on the router: " << Mappings();

  const std::vector<json> host_dump = ReadDump(dir_ + "/host.jsonl"),
                          join_dump = ReadDump(dir_ + "/join.jsonl");
  ASSERT_GT(host_dump.size(), 80u);
  ASSERT_GT(join_dump.size(), 80u);
  for (size_t i = 1; i < host_dump.size() && i < join_dump.size(); ++i) {
    ASSERT_EQ(host_dump[i]["Net"]["Path"], path) << i;
    ASSERT_EQ(join_dump[i]["Net"]["Path"], path) << i;
    ASSERT_EQ(Shared(host_dump[i]), Shared(join_dump[i])) << "frame " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Ways, LabGame, ::testing::ValuesIn(Rows("tests/lab/ways.tsv")), [](const auto& row) {
  return row.param[0] +
         (row.param[4].empty() ? "" : "_" + std::regex_replace(row.param[4], std::regex("-"), ""));
});

// A stop signal ends a waiting host like a close request: the router's mapping goes with it.
TEST_F(Lab, AStopSignalTakesTheMappingBack) {
  std::unique_ptr<GameProcess> daemon = Miniupnpd(false);
  std::unique_ptr<GameProcess> host = In("hA1", BRAWL_EXE, {"--headless", "--host"});
  EXPECT_EQ(Printed(*host, "brawl: others"), "brawl: others can join at 11.1.0.2:47474 (NAT-PMP)");
  EXPECT_NE(Mappings().find("dnat"), std::string::npos) << Mappings();
  ::kill(host->pid(), SIGTERM);
  EXPECT_EQ(host->Wait(), 0) << host->Errors();
  EXPECT_EQ(Mappings().find("dnat"), std::string::npos) << Mappings();
}

}  // namespace
}  // namespace brawl
