// Real game processes over loopback UDP, headless, where online play meets people and links
// that misbehave: a joiner who comes first, a third player, a caller who never says who it is,
// and a desync, which both sides report with their files.
#include <enet/enet.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "e2e/game_process.h"
#include "support/run_brawl.h"

namespace brawl {
namespace {

std::string Port(int offset) {
  return std::to_string(30000 + (getpid() * 7 + offset) % 9000);
}

// A headless side with its script of `passes` passes, each pass pressing Enter now and then.
GameProcess Side(const std::string& dir, const std::string& name, const std::vector<std::string>& online,
                 int passes = 300) {
  std::ofstream(dir + "/" + name + ".txt") << "5\n1 Enter\n" << passes - 6 << " Num3\n";
  std::vector<std::string> args = {"--headless",
                                   "--app-path",
                                   BuildDir(),
                                   "--input-delay",
                                   "2",
                                   "--script",
                                   dir + "/" + name + ".txt",
                                   "--dump",
                                   dir + "/" + name + ".jsonl"};
  args.insert(args.end(), online.begin(), online.end());
  return GameProcess("", args, dir);
}

int Lines(const std::string& path) {
  std::ifstream in(path);
  int n = 0;
  for (std::string line; std::getline(in, line);) ++n;
  return n;
}

// The joiner keeps trying until the host comes: long after ENet alone would have given up.
TEST(OnlineEndings, AJoinerWhoComesFirstGetsIn) {
  const std::string dir = MakeTempDir(), port = Port(1);
  GameProcess joiner = Side(dir, "join", {"--join", "127.0.0.1:" + port}, 120);
  ASSERT_TRUE(joiner.Said("brawl: net: joining 127.0.0.1:" + port)) << joiner.Errors();
  // How early the joiner is, not a wait for it: ENet's own tries end after 15.5 s.
  sleep(17);
  GameProcess host = Side(dir, "host", {"--host", port, "--no-port-mapping"}, 120);
  EXPECT_EQ(host.Wait(), 0) << host.Errors();
  EXPECT_EQ(joiner.Wait(), 0) << joiner.Errors();
  EXPECT_GT(Lines(dir + "/join.jsonl"), 100);
}

// A third player is told the game is full; the two playing are not disturbed.
TEST(OnlineEndings, AThirdPlayerIsToldTheGameHasTwoAndTheTwoPlayOn) {
  const std::string dir = MakeTempDir(), port = Port(2);
  GameProcess host = Side(dir, "host", {"--host", port, "--no-port-mapping"}, 400);
  GameProcess joiner = Side(dir, "join", {"--join", "127.0.0.1:" + port}, 400);
  for (int i = 0; i < 500 && Lines(dir + "/join.jsonl") < 60; ++i) usleep(20000);
  GameProcess third = Side(dir, "third", {"--join", "127.0.0.1:" + port}, 100);
  EXPECT_EQ(third.Wait(), 3);
  EXPECT_NE(third.Errors().find("brawl: net: the game already has two players\n"), std::string::npos)
      << third.Errors();
  EXPECT_EQ(host.Wait(), 0) << host.Errors();
  EXPECT_EQ(joiner.Wait(), 0) << joiner.Errors();
  EXPECT_GT(Lines(dir + "/host.jsonl"), 350);
  // What the newcomer sent the host is counted as a stranger's.
  std::ifstream dump(dir + "/host.jsonl");
  std::string line, last;
  while (std::getline(dump, line)) last = line;
  EXPECT_GT(nlohmann::json::parse(last)["Net"]["Dropped"].get<int>(), 0) << last;
}

// A caller that completes ENet's handshake and says nothing loses the seat after two seconds;
// the real joiner who comes meanwhile plays.
TEST(OnlineEndings, ASilentCallerDoesNotTakeTheSeat) {
  const std::string dir = MakeTempDir(), port = Port(3);
  GameProcess host = Side(dir, "host", {"--host", port, "--no-port-mapping"}, 200);
  ASSERT_TRUE(host.Said("waiting for the other player")) << host.Errors();
  ASSERT_EQ(enet_initialize(), 0);
  ENetHost* squatter = enet_host_create(nullptr, 1, 2, 0, 0);
  ENetAddress address{};
  enet_address_set_host(&address, "127.0.0.1");
  address.port = static_cast<enet_uint16>(std::stoi(port));
  ENetPeer* peer = enet_host_connect(squatter, &address, 2, 0);
  bool connected = false;
  ENetEvent event;
  for (int i = 0; i < 300 && !connected; ++i)
    connected = enet_host_service(squatter, &event, 10) > 0 && event.type == ENET_EVENT_TYPE_CONNECT;
  ASSERT_TRUE(connected);
  GameProcess joiner = Side(dir, "join", {"--join", "127.0.0.1:" + port}, 200);
  // The squatter keeps its side of the link up, and says nothing, until the game is over.
  while (!joiner.Ended()) enet_host_service(squatter, &event, 10);
  enet_peer_reset(peer);
  enet_host_destroy(squatter);
  enet_deinitialize();
  EXPECT_EQ(host.Wait(), 0) << host.Errors();
  EXPECT_EQ(joiner.Wait(), 0) << joiner.Errors();
  EXPECT_GT(Lines(dir + "/host.jsonl"), 150);
}

// One side goes its own way at pass 100 (--desync-at): both sides say so about the same pass,
// and each names its replay and last state, which are there.
TEST(OnlineEndings, ADesyncIsReportedOnBothSidesWithTheirFiles) {
  const std::string dir = MakeTempDir(), port = Port(4);
  setenv("XDG_STATE_HOME", dir.c_str(), 1);
  GameProcess host = Side(dir, "host", {"--host", port, "--no-port-mapping"}, 400);
  GameProcess joiner = Side(dir, "join", {"--join", "127.0.0.1:" + port, "--desync-at", "100"}, 400);
  unsetenv("XDG_STATE_HOME");
  for (GameProcess* side : {&host, &joiner}) {
    EXPECT_EQ(side->Wait(), 3) << side->Errors();
    const std::string said = side->Errors();
    EXPECT_NE(said.find("brawl: net: desync at frame 120: "), std::string::npos) << said;
    for (const char* kind : {".replay", ".state.json"}) {
      const size_t end = said.find(kind);
      ASSERT_NE(end, std::string::npos) << said;
      const size_t start = said.rfind(' ', end) + 1;
      EXPECT_TRUE(std::filesystem::exists(said.substr(start, end - start) + kind)) << said;
    }
  }
}

}  // namespace
}  // namespace brawl
