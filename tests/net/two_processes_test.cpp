// Two real game processes over loopback UDP, each with its own script, play a whole match to
// the result screen: their dumps agree on every confirmed frame, and a replay of either side
// gives that side's dump again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "e2e/game_process.h"
#include "support/run_brawl.h"

namespace brawl {
namespace {

using nlohmann::json;

void ExpectSameFrames(const std::vector<json>& a, const std::vector<json>& b, const char* what) {
  ASSERT_FALSE(a.empty());
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    ASSERT_EQ(Shared(a[i]), Shared(b[i])) << what << ", line " << i;
  }
}

TEST(TwoProcesses, PlayAMatchToTheResultAndAgreeAndReplay) {
  const std::string dir = MakeTempDir();
  // The host fires at the joiner, who stands still, until the match is won.
  std::ofstream(dir + "/host.txt") << "5\n1 Enter\n300 Num3\n30\n";
  std::ofstream(dir + "/join.txt") << "340\n";
  const std::string port = std::to_string(40000 + getpid() % 20000);
  const auto play = [&](const std::string& name, std::vector<std::string> online) {
    online.insert(online.end(), {"--headless", "--app-path", BuildDir(), "--input-delay", "2", "--script",
                                 name + ".txt", "--dump", name + ".jsonl", "--record", name + ".replay"});
    return std::make_unique<GameProcess>("", online, dir);
  };
  const auto hosting = play("host", {"--no-port-mapping", "--host", port});
  ASSERT_TRUE(hosting->Said("waiting for the other player")) << hosting->Errors();
  EXPECT_EQ(play("join", {"--join", "127.0.0.1:" + port})->Wait(std::chrono::seconds(60)), 0);
  EXPECT_EQ(hosting->Wait(std::chrono::seconds(60)), 0) << hosting->Errors();

  const std::vector<json> host = ReadDump(dir + "/host.jsonl"), join = ReadDump(dir + "/join.jsonl");
  ASSERT_GE(host.size(), 300u);
  ExpectSameFrames(host, join, "host and joiner");
  std::set<int> modes;
  for (const json& line : host) modes.insert(line["GameMode"].get<int>());
  EXPECT_EQ(modes, (std::set<int>{0, 2, 3})) << "title, two-player match, result";
  EXPECT_EQ(host.back()["Winner"], 1);

  for (const char* side : {"host", "join"}) {
    const RunResult replay = RunBrawl({"--headless", "--app-path", BuildDir(), "--replay",
                                       dir + "/" + side + ".replay", "--dump", dir + "/" + side + ".again"},
                                      "", 60);
    ASSERT_EQ(replay.exit_code, 0) << replay.err;
    ExpectSameFrames(ReadDump(dir + "/" + side + ".jsonl"), ReadDump(dir + "/" + side + ".again"), side);
  }
}

}  // namespace
}  // namespace brawl
