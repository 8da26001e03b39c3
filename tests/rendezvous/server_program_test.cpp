// brawl-rendezvous as a program: its command line, a game code over real UDP on loopback, its
// ending on a stop signal, and its installed files (man page, a sandboxed systemd unit).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "net/rendezvous_protocol.h"
#include "rendezvous/background_process.h"
#include "rendezvous/udp_socket.h"
#include "support/install_tree.h"
#include "support/run_brawl.h"

namespace brawl {
namespace {

namespace fs = std::filesystem;

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
    if (c.status == 0) {
      EXPECT_EQ(run.out.rfind(c.says, 0), 0u) << c.args << ": " << run.out;
    } else {
      EXPECT_EQ(run.err, c.says) << c.args;
    }
  }
}

TEST(ServerProgram, HandsOutACodeOnLoopbackAndStopsOnASignal) {
  UdpSocket client(0);
  const int port = 30000 + ::getpid() % 20000;
  BackgroundProcess server({RENDEZVOUS_EXE, "--port", std::to_string(port)});
  ASSERT_NE(server.WaitFor("listening on UDP port " + std::to_string(port), 10), std::string::npos)
      << server.output();
  // The port is taken now: a second server says so and which.
  const RunResult second = RunShell(std::string(RENDEZVOUS_EXE) + " --port " + std::to_string(port));
  EXPECT_EQ(second.exit_code, 1);
  EXPECT_EQ(second.err, "brawl-rendezvous: network: UDP port " + std::to_string(port) +
                            ": cannot be opened: Address already in use\n");

  const NetAddress at{0x7F000001, static_cast<uint16_t>(port)};
  auto ask = [&](const RendezvousMessage& m) -> std::optional<RendezvousMessage> {
    const std::vector<uint8_t> bytes = EncodeRendezvous(m);
    uint8_t answer[512];
    for (int tries = 0; tries < 50; ++tries) {
      client.SendTo(at, bytes.data(), bytes.size());
      pollfd p{client.fd(), POLLIN, 0};
      NetAddress from;
      if (::poll(&p, 1, 100) > 0) {
        const long size = client.Receive(from, answer, sizeof answer);
        if (size > 0) return DecodeRendezvous(answer, static_cast<size_t>(size));
      }
    }
    return std::nullopt;
  };
  RendezvousMessage registering = RendezvousOf(RendezvousType::Register);
  registering.nonce = 77;
  const std::optional<RendezvousMessage> registered = ask(registering);
  ASSERT_TRUE(registered && registered->type == RendezvousType::Registered);
  EXPECT_EQ(registered->public_address, (NetAddress{0x7F000001, client.port()}));
  EXPECT_EQ(registered->lifetime_s, 1800);

  RendezvousMessage joining = RendezvousOf(RendezvousType::Join);
  joining.nonce = 78;
  joining.code = *ParseGameCode(registered->code == *ParseGameCode("2222-2222") ? "3333-3333" : "2222-2222");
  const std::optional<RendezvousMessage> refused = ask(joining);
  ASSERT_TRUE(refused && refused->type == RendezvousType::Error);
  EXPECT_EQ(refused->error, RendezvousError::NoGame);

  EXPECT_EQ(server.Stop(SIGTERM, 10), 0);
  EXPECT_NE(server.output().find("stopped by SIGTERM with 1 games open"), std::string::npos)
      << server.output();
}

TEST(ServerProgram, InstallsBesideTheGameWithItsManPageAndASandboxedUnit) {
  const std::string prefix = InstallIntoTempPrefix();
  const std::string unit = prefix + "/lib/systemd/system/brawl-rendezvous.service";
  for (const std::string file : {"sbin/brawl-rendezvous", "share/man/man8/brawl-rendezvous.8"})
    EXPECT_TRUE(fs::is_regular_file(prefix + "/" + file)) << file;
  ASSERT_TRUE(fs::is_regular_file(unit));
  const RunResult man = RunShell("( LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l '" + prefix +
                                 "/share/man/man8/brawl-rendezvous.8' >/dev/null )");
  EXPECT_EQ(man.out + man.err, "");
  if (RunShell("command -v systemd-analyze").exit_code != 0) {
    GTEST_SKIP() << "systemd-analyze is not installed: the unit is not verified";
  }
  // The unit as installed, its program where this prefix put it.
  const std::string here = MakeTempDir() + "/brawl-rendezvous.service";
  const RunResult moved = RunShell("sed 's#^ExecStart=[^ ]*#ExecStart=" + prefix +
                                   "/sbin/brawl-rendezvous#' '" + unit + "' >'" + here + "'");
  ASSERT_EQ(moved.exit_code, 0);
  const RunResult verify = RunShell("systemd-analyze verify --man=no '" + here + "'");
  EXPECT_EQ(verify.exit_code, 0) << verify.err;
  EXPECT_EQ(verify.out + verify.err, "");
  // No write access, no privileges, its own user: a low exposure by systemd's own measure.
  const RunResult security = RunShell("systemd-analyze security --offline=yes --threshold=20 '" + here + "'");
  EXPECT_EQ(security.exit_code, 0) << security.out;
  fs::remove_all(prefix);
}

}  // namespace
}  // namespace brawl
