// brawl-rendezvous as a program on loopback: its command line, a port already taken, the game
// asking it for a code nobody has, and its ending on a stop signal.
#include <gtest/gtest.h>

#include <string>

#include "e2e/game_process.h"
#include "support/run_brawl.h"

namespace brawl {
namespace {

TEST(ServerProgram, RefusesBadCommandLinesWithOneLine) {
  struct Case {
    const char* args;
    int status;
    const char* says;  // the whole of stderr, or the start of stdout for status 0
  };
  const Case kCases[] = {
      {"--port", 2, "brawl-rendezvous: --port needs a value\n"},
      {"--port 0", 2, "brawl-rendezvous: --port wants a whole number from 1 to 65534, not '0'\n"},
      {"--port 65535", 2, "brawl-rendezvous: --port wants a whole number from 1 to 65534, not '65535'\n"},
      {"--port 4x", 2, "brawl-rendezvous: --port wants a whole number from 1 to 65534, not '4x'\n"},
      {"--max-games 0", 2, "brawl-rendezvous: --max-games wants a whole number from 1 to 65536, not '0'\n"},
      {"--max-relayed -1", 2,
       "brawl-rendezvous: --max-relayed wants a whole number from 0 to 4096, not '-1'\n"},
      {"--verbose", 2, "brawl-rendezvous: --verbose: unknown option\n"},
      {"47475", 2, "brawl-rendezvous: unexpected argument '47475'\n"},
      {"--version", 0, "brawl-rendezvous 1.0.0\n"},
      {"--help", 0, "Usage: brawl-rendezvous [--port N]"},
  };
  for (const Case& c : kCases) {
    const RunResult run = RunShell(std::string(RENDEZVOUS_EXE) + " " + c.args);
    EXPECT_EQ(run.exit_code, c.status) << c.args;
    EXPECT_EQ(c.status == 0 ? run.out.substr(0, std::string(c.says).size()) : run.err, c.says) << c.args;
  }
}

TEST(ServerProgram, RefusesAnUnknownCodeToTheGameAndStopsOnASignal) {
  const std::string port = std::to_string(30000 + ::getpid() % 20000);
  GameProcess server("", {"--port", port}, "", RENDEZVOUS_EXE);
  ASSERT_TRUE(server.Said("listening on UDP port " + port)) << server.Errors();
  const RunResult second = RunShell(std::string(RENDEZVOUS_EXE) + " --port " + port);
  EXPECT_EQ(second.exit_code, 1);
  EXPECT_EQ(second.err,
            "brawl-rendezvous: network: UDP port " + port + ": cannot be opened: Address already in use\n");

  const RunResult joiner =
      RunBrawl({"--headless", "--join", "xy2a-7k9m", "--rendezvous", "127.0.0.1:" + port});
  EXPECT_EQ(joiner.exit_code, 3);
  EXPECT_EQ(joiner.err.substr(joiner.err.find('\n') + 1), "brawl: no game with code XY2A-7K9M\n");

  ::kill(server.pid(), SIGTERM);
  EXPECT_EQ(server.Wait(), 0);
  EXPECT_NE(server.Errors().find("stopped by SIGTERM with 0 games open"), std::string::npos)
      << server.Errors();
}

}  // namespace
}  // namespace brawl
