// Two real game windows on one X server play online over loopback: each launches from its
// settings window, they meet on the title, the host's Enter starts the match on both, and the
// host's Escape ends the game on both, the joiner being told that the other player left.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <string>
#include <thread>

#include "e2e/game_process.h"
#include "e2e/x_server.h"

namespace brawl {
namespace {

class OnlineWindows : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(x_.Start(), ""); }

  // The window titled `title` of process `pid`, once it shows (empty if it never does).
  std::string WindowOf(pid_t pid, const std::string& title) {
    for (int i = 0; i < 200; ++i) {
      std::istringstream ids(
          x_.Run("xdotool search --onlyvisible --pid " + std::to_string(pid) + " 2>/dev/null"));
      for (std::string id; std::getline(ids, id);) {
        if (x_.Run("xdotool getwindowname " + id + " 2>/dev/null") == title + "\n") return id;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "";
  }
  // Held for a moment in that window, as a hand holds a key.
  void HoldKeyIn(const std::string& window, const std::string& keys, double seconds = 0.3) {
    for (int i = 0; i < 40 && x_.Run("xdotool getwindowfocus 2>/dev/null") != window + "\n"; ++i) {
      x_.Run("xdotool windowactivate " + window + " 2>/dev/null");
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    x_.Run("xdotool keydown " + keys + " sleep " + std::to_string(seconds) + " keyup " + keys);
  }

  XServer x_;
};

TEST_F(OnlineWindows, MeetPlayAndLeaveTogether) {
  const std::string port = std::to_string(40000 + (getpid() + 7) % 20000);
  GameProcess host(x_.display(), {"--windowed", "--host", port, "--no-port-mapping", "--input-delay", "2"});
  const std::string host_settings = WindowOf(host.pid(), "出撃前の設定");
  ASSERT_NE(host_settings, "") << host.Errors();
  HoldKeyIn(host_settings, "Return");
  GameProcess joiner(x_.display(), {"--windowed", "--join", "127.0.0.1:" + port, "--input-delay", "2"});
  const std::string joiner_settings = WindowOf(joiner.pid(), "出撃前の設定");
  ASSERT_NE(joiner_settings, "") << joiner.Errors();
  HoldKeyIn(joiner_settings, "Return");

  const std::string host_window = WindowOf(host.pid(), "Billboard Brawl");
  const std::string joiner_window = WindowOf(joiner.pid(), "Billboard Brawl");
  ASSERT_NE(host_window, "") << host.Errors();
  ASSERT_NE(joiner_window, "") << joiner.Errors();
  std::this_thread::sleep_for(std::chrono::seconds(1));  // the handshake and the round trip
  HoldKeyIn(host_window, "Return");
  HoldKeyIn(joiner_window, "Up KP_3", 2.0);
  HoldKeyIn(host_window, "Escape");
  EXPECT_EQ(host.Wait(std::chrono::seconds(10)), 0) << host.Errors();
  // The joiner's picture says why the game ended until a key closes it.
  for (int i = 0; i < 200 && joiner.Errors().find("the other player left") == std::string::npos; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  HoldKeyIn(joiner_window, "space");
  EXPECT_EQ(joiner.Wait(std::chrono::seconds(10)), 0) << joiner.Errors();
  EXPECT_NE(joiner.Errors().find("brawl: net: the other player left"), std::string::npos) << joiner.Errors();
}

}  // namespace
}  // namespace brawl
