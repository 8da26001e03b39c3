#pragma once
// A private X server (Xvfb) with a window manager, for tests of the real windows.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/run_brawl.h"

namespace brawl {

// The settings window's title as a Japanese player sees it (the game processes of these tests
// run in Japanese unless they ask otherwise), and in English.
constexpr char kSettingsTitle[] = "出撃前の設定";
constexpr char kEnglishSettingsTitle[] = "Pre-Sortie Settings";
constexpr char kGameTitle[] = "Billboard Brawl";

// Starts `argv` in `folder` (unless empty) with `display` as DISPLAY (none when empty) and
// silent audio, its output and errors into the files named; `env` holds NAME=VALUE words set
// for it (NAME= unsets).
inline pid_t Spawn(const std::vector<std::string>& argv, const std::string& display,
                   const std::string& out = "/dev/null", const std::string& err = "/dev/null",
                   const std::string& folder = "", const std::vector<std::string>& env = {}) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  // Gone with the test, even when the test dies without cleaning up.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  dup2(open("/dev/null", O_RDWR), 0);
  dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
  dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
  if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
  unsetenv("WAYLAND_DISPLAY");
  std::vector<std::string> all = env;
  all.insert(all.begin(), {"DISPLAY=" + display, "SDL_AUDIODRIVER=dummy"});
  for (const std::string& word : all) {
    const size_t equals = word.find('=');
    const std::string name = word.substr(0, equals), value = word.substr(equals + 1);
    value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

// Ends a child started by Spawn and collects it.
inline void Stop(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  if (!Until([&] { return waitpid(pid, nullptr, WNOHANG) == pid; }, std::chrono::seconds(2))) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  pid = -1;
}

class XServer {
 public:
  // Empty when the server is up; otherwise why it is not. `manager_args` go to the window
  // manager.
  std::string Start(const std::vector<std::string>& manager_args = {}) {
    // A display just given up by another test can be taken before it answers: then again.
    std::string last = "every display tried was taken";
    for (int attempt = 0; attempt < 4; ++attempt) {
      const std::string why = StartServer(attempt);
      if (why == "busy") continue;
      if (!why.empty()) return why;
      // Managed once the window manager has said so on the root window.
      std::vector<std::string> manager = {"matchbox-window-manager", "-use_titlebar", "yes"};
      manager.insert(manager.end(), manager_args.begin(), manager_args.end());
      const std::string log = MakeTempDir() + "/manager.log";
      manager_ = Spawn(manager, display_, "/dev/null", log);
      bool ended = false;
      if (Until([&] {
            ended = waitpid(manager_, nullptr, WNOHANG) == manager_;
            return ended || Run("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos;
          }) &&
          !ended)
        return "";
      if (ended) manager_ = -1;
      const std::string said = ReadFile(log);
      last = (ended ? "the window manager ended on " : "no window manager came up on ") + display_ +
             (said.empty() ? "" : ": " + said.substr(0, said.find('\n')));
      Stop(manager_);
      Stop(server_);
    }
    return "no X server with a window manager could be started (" + last + ")";
  }
  ~XServer() {
    Stop(manager_);
    Stop(server_);
  }
  const std::string& display() const { return display_; }

  // Runs a shell command with this DISPLAY; returns its standard output.
  std::string Run(const std::string& command) const {
    std::string out;
    FILE* pipe = popen(("DISPLAY=" + display_ + " " + command).c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    pclose(pipe);
    return out;
  }
  // A picture of the whole screen.
  void Screenshot(const std::string& path) const { Run("import -window root '" + path + "' 2>/dev/null"); }
  // After a failure, the screen kept in <build>/test-screens/<suite>.<test>.png; the
  // path's stem is returned for pictures the test kept itself.
  std::string KeepScreenOfAFailure(const std::string& build_dir) const {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string stem = build_dir + "/test-screens/" + test->test_suite_name() + "." + test->name();
    std::filesystem::create_directories(build_dir + "/test-screens");
    Screenshot(stem + ".png");
    return stem;
  }

  // The visible windows titled `title`: the game's, which carry the desktop entry's class, or
  // those of process `pid`.
  std::vector<std::string> Windows(const std::string& title, pid_t pid = 0) const {
    std::string by = "--pid " + std::to_string(pid);
    if (pid <= 0) {
      by = "--class '^";
      for (const char c : std::string(BRAWL_APP_ID)) by += c == '.' ? std::string("\\.") : std::string(1, c);
      by += "$'";
    }
    std::vector<std::string> found;
    std::istringstream ids(Run("xdotool search --onlyvisible " + by + " 2>/dev/null"));
    for (std::string id; std::getline(ids, id);)
      if (Run("xdotool getwindowname " + id + " 2>/dev/null") == title + "\n") found.push_back(id);
    return found;
  }
  // Process `pid`'s window titled `title` once it shows; empty if it never does.
  std::string WindowOf(pid_t pid, const std::string& title) const {
    std::vector<std::string> found;
    Until([&] { return !(found = Windows(title, pid)).empty(); });
    return found.empty() ? "" : found[0];
  }
  // The game's window titled `title` once it has the keyboard; empty if it never does.
  std::string WaitForWindow(const std::string& title) const {
    std::string found;
    Until([&] {
      const std::string focus = Run("xdotool getwindowfocus 2>/dev/null");
      for (const std::string& window : Windows(title))
        if (focus == window + "\n") found = window;
      return !found.empty();
    });
    return found;
  }
  // Gives process `pid`'s window titled `title` the keyboard, as a click would (a window manager
  // may be slow to); false if it never takes it.
  bool Focus(pid_t pid, const std::string& title) const {
    return Until([&] {
      const std::vector<std::string> window = Windows(title, pid);
      if (window.empty()) return false;
      if (Run("xdotool getwindowfocus 2>/dev/null") == window[0] + "\n") return true;
      Run("xdotool windowactivate " + window[0] + " 2>/dev/null");
      return false;
    });
  }
  // Where the window's client area is on the screen, and its size.
  struct Area {
    int x = 0, y = 0, width = 0, height = 0;
  };
  Area AreaOf(const std::string& window) const {
    std::istringstream lines(Run("xwininfo -id " + window + " 2>/dev/null"));
    Area a;
    for (std::string line; std::getline(lines, line);) {
      const size_t colon = line.find(':');
      if (colon == std::string::npos) continue;
      const int value = std::atoi(line.c_str() + colon + 1);
      if (line.find("Absolute upper-left X") != std::string::npos) a.x = value;
      if (line.find("Absolute upper-left Y") != std::string::npos) a.y = value;
      if (line.find("Width:") != std::string::npos) a.width = value;
      if (line.find("Height:") != std::string::npos) a.height = value;
    }
    return a;
  }
  // The window's WM_CLASS property as xprop shows it: "name", "class".
  std::string ClassOf(const std::string& window) const {
    const std::string line = Run("xprop -id " + window + " WM_CLASS 2>/dev/null");
    const size_t equals = line.find(" = ");
    return equals == std::string::npos ? line
                                       : line.substr(equals + 3, line.find_last_not_of('\n') - equals - 2);
  }
  // The size of the window's icon ("64 x 64"), or "" when it shows none.
  std::string IconSizeOf(const std::string& window) const {
    const std::string icon = Run("xprop -id " + window + " _NET_WM_ICON 2>/dev/null | head -1");
    const size_t at = icon.find("Icon (");
    return at == std::string::npos ? "" : icon.substr(at + 6, icon.find(')', at) - at - 6);
  }
  // Pressed and let go, for a window that takes key events (the settings window, and the game
  // window's own keys F11, F12 and Alt+Enter); the game's play keys are held (GameProcess::Hold).
  void Press(const std::string& keys) const { Run("xdotool key " + keys); }

 private:
  // A display number of this test's own: from a wide range, so that a number another test has
  // just given up is rarely taken again at once (a server's leftovers can keep a new one from
  // answering); "busy" when it does not answer after all, or the number was taken.
  std::string StartServer(int attempt) {
    for (int n = 100 + (static_cast<int>(getpid()) * 7 + attempt * 131) % 800;; n = 100 + (n - 99) % 800) {
      if (std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
      display_ = ":" + std::to_string(n);
      break;
    }
    // No reset when the last client leaves: a client that comes just then could not connect.
    server_ = Spawn({"Xvfb", display_, "-noreset", "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, "");
    // Gone at once when another test took the number first.
    const auto gone = [&] {
      if (server_ > 0 && waitpid(server_, nullptr, WNOHANG) == server_) server_ = -1;
      return server_ <= 0;
    };
    if (Until([&] { return gone() || Run("xdpyinfo >/dev/null 2>&1 && echo up") == "up\n"; }) && !gone())
      return "";
    if (!std::filesystem::exists("/usr/bin/Xvfb")) return "Xvfb cannot be run: is it installed?";
    Stop(server_);
    return "busy";
  }

  std::string display_;
  pid_t server_ = -1;
  pid_t manager_ = -1;
};

// A test on its own X server; a failure keeps a picture of the screen.
class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(x_.Start(), ""); }
  void TearDown() override {
    if (HasFailure()) x_.KeepScreenOfAFailure(BuildDir());
  }
  XServer x_;
};

// True when every line of `log` is one of those GDK and GTK 3 write themselves when the
// window system destroys a GTK window under them: GDK's warning, and GTK's criticals from
// unrealizing a window whose frame clock went with it (a plain window with one button does
// the same). Anything else would be ours.
inline bool OnlyGtkOwnWordsOnADestroyedWindow(const std::string& log) {
  static const char* const kOwn[] = {
      "unexpectedly destroyed",
      "invalid (NULL) pointer instance",
      "g_signal_handler_disconnect: assertion 'G_TYPE_CHECK_INSTANCE (instance)' failed",
      "gdk_frame_clock_end_updating: assertion 'GDK_IS_FRAME_CLOCK (frame_clock)' failed",
  };
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    bool own = line.empty();
    for (const char* words : kOwn) own = own || line.find(words) != std::string::npos;
    if (!own) return false;
  }
  return true;
}

}  // namespace brawl
