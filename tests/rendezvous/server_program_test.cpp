// brawl-rendezvous as a program on loopback: its command line, a port already taken, the game
// asking it for a code nobody has, and its ending on a stop signal.
#include <gtest/gtest.h>

#include <string>

#include "e2e/game_process.h"
#include "support/run_brawl.h"

namespace brawl {
namespace {

// The command lines are tests/rendezvous/server_command_lines.tsv.
TEST(ServerProgram, RefusesBadCommandLinesWithOneLine) {
  for (const auto& row : Rows("tests/rendezvous/server_command_lines.tsv")) {
    const RunResult run = RunShell(std::string(RENDEZVOUS_EXE) + " " + row[0]);
    EXPECT_EQ(std::to_string(run.exit_code), row[1]) << row[0];
    EXPECT_EQ(row[1] == "0" ? run.out.substr(0, row[2].size()) : run.err, row[2]) << row[0];
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
