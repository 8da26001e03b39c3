// Two real game windows on one X server play online over loopback: each launches from its
// settings window, they meet on the title, the host's Enter starts the match on both; an
// ending stays on the picture, saying why, until a key closes the window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "e2e/game_process.h"
#include "e2e/x_server.h"

namespace brawl {
namespace {

class OnlineWindows : public DesktopTest {
 protected:
  // Each side launched from its settings window into its game window; the two have met.
  std::string Launch(const GameProcess& side) {
    if (!x_.Focus(side.pid(), kSettingsTitle)) return "";
    x_.Press("Return");
    return side.Window(x_);
  }

  const std::string port_ = std::to_string(40000 + (getpid() + 7) % 20000);
};

TEST_F(OnlineWindows, MeetPlayAndLeaveTogether) {
  GameProcess host(x_.display(), {"--windowed", "--host", port_, "--no-port-mapping", "--input-delay", "2"});
  const std::string host_window = Launch(host);
  GameProcess joiner(x_.display(), {"--windowed", "--join", "127.0.0.1:" + port_, "--input-delay", "2"});
  ASSERT_NE(host_window, "") << host.Errors();
  ASSERT_NE(Launch(joiner), "") << joiner.Errors();
  ASSERT_TRUE(Until([&] { return host.Count("online-running") + joiner.Count("online-running") == 2; }));
  host.Hold(x_, "Return");
  joiner.Hold(x_, "Up KP_3", 120);
  host.Hold(x_, "Escape");
  EXPECT_EQ(host.Wait(), 0) << host.Errors();
  // The joiner's picture says why the game ended until a key closes it.
  ASSERT_TRUE(Until([&] { return joiner.Count("ending-shown") == 1; })) << joiner.Errors();
  joiner.Hold(x_, "space");
  EXPECT_EQ(joiner.Wait(), 0) << joiner.Errors();
  EXPECT_EQ(joiner.Errors(), "brawl: net: the other player left\n");
}

// The host is gone without a word: the joiner shows "connection lost" until a key, then ends
// with status 3 and the same line.
TEST_F(OnlineWindows, ALostConnectionStaysOnThePictureUntilAKey) {
  auto host =
      std::make_unique<GameProcess>(x_.display(), std::vector<std::string>{"--windowed", "--host", port_});
  ASSERT_NE(Launch(*host), "") << host->Errors();
  GameProcess joiner(x_.display(), {"--windowed", "--join", "127.0.0.1:" + port_});
  ASSERT_NE(Launch(joiner), "") << joiner.Errors();
  ASSERT_TRUE(Until([&] { return joiner.Count("online-running") == 1; })) << joiner.Errors();
  host.reset();  // killed
  ASSERT_TRUE(Until([&] { return joiner.Count("ending-shown") == 1; })) << joiner.Errors();
  EXPECT_FALSE(joiner.Ended());
  joiner.Hold(x_, "space");
  EXPECT_EQ(joiner.Wait(), 3) << joiner.Errors();
  EXPECT_EQ(joiner.Errors(), "brawl: net: connection lost\n");
}

}  // namespace
}  // namespace brawl
