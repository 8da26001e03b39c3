#pragma once
// The real game binary run as a child of the test, on a given X display.
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/x_server.h"
#include "support/run_brawl.h"

namespace brawl {

// How a game process is asked to speak: Japanese, as the settings window was first made,
// or the English of a player who set no language.
const std::vector<std::string> kJapanese = {"LC_ALL=C.UTF-8", "LANGUAGE=ja"};
const std::vector<std::string> kEnglish = {"LC_ALL=C.UTF-8", "LANGUAGE=", "LANG=", "LC_MESSAGES="};

// One run of `brawl` (or `exe`) on `display` (none when empty), silent audio, its output
// and errors kept; `env` (NAME=VALUE words, NAME= unsets) in Japanese unless it says otherwise.
class GameProcess {
 public:
  GameProcess(const std::string& display, const std::vector<std::string>& args, std::string folder = "",
              const std::string& exe = BRAWL_EXE, const std::vector<std::string>& env = kJapanese) {
    if (folder.empty()) folder = BuildDir();
    const std::string logs = MakeTempDir();
    err_path_ = logs + "/err";
    out_path_ = logs + "/out";
    std::vector<std::string> all = {exe};
    all.insert(all.end(), args.begin(), args.end());
    // The game's timing trace says when it has shown a picture; Errors() leaves it out.
    std::vector<std::string> traced = env;
    traced.push_back("BRAWL_TIMING=1");
    pid_ = Spawn(all, display, out_path_, err_path_, folder, traced);
  }
  ~GameProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  // The exit status, or -1 when the program did not end in time (it is then killed).
  int Wait(std::chrono::seconds bound = std::chrono::seconds(20)) {
    int status = 0;
    if (!Until([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, bound)) return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // True once the program has written `words` on standard error; false if it ends, or the
  // bound passes, first.
  bool Said(const std::string& words, std::chrono::seconds bound = std::chrono::seconds(20)) const {
    const auto said = [&] { return Errors().find(words) != std::string::npos; };
    return Until([&] { return said() || Ended(); }, bound) && said();
  }
  pid_t pid() const { return pid_; }
  // Ended, and not collected yet: Wait still gives its status.
  bool Ended() const {
    siginfo_t info{};
    return pid_ <= 0 || (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                         info.si_pid == pid_);
  }
  // Standard error without the timing trace.
  std::string Errors() const {
    std::string errors, line;
    std::istringstream lines(ReadFile(err_path_));
    while (std::getline(lines, line))
      if (line.rfind("brawl: timing: ", 0) != 0) errors += line + "\n";
    return errors;
  }
  // How many times the trace has said `event` ("flip", "ending-shown", ...).
  int Count(const std::string& event) const {
    const std::string text = ReadFile(err_path_), mark = "brawl: timing: " + event + " ";
    int n = 0;
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) ++n;
    return n;
  }
  // Waits until the game has shown `pictures` more (false if it ends, or a minute passes).
  bool Shows(int pictures) const {
    const int until = Count("flip") + pictures;
    return Until([&] { return Count("flip") >= until || Ended(); }, std::chrono::seconds(60)) && !Ended();
  }
  // The game window once it has shown a picture: making its renderer may replace the window
  // that came first. Empty if it never shows one.
  std::string Window(const XServer& x) const { return Shows(1) ? x.WindowOf(pid_, kGameTitle) : ""; }
  // Held in the game window as a hand holds keys: down until the game has shown `pictures`
  // more, so that passes have read them held, whatever else the machine is doing.
  void Hold(const XServer& x, const std::string& keys, int pictures = 3) const {
    x.Focus(pid_, kGameTitle);
    std::string down, up;
    std::istringstream words(keys);
    for (std::string key; words >> key;) down += " keydown " + key, up += " keyup " + key;
    x.Run("xdotool" + down);
    Shows(pictures);
    x.Run("xdotool" + up);
  }
  std::string Output() const { return ReadFile(out_path_); }

 private:
  pid_t pid_ = -1;
  std::string err_path_;
  std::string out_path_;
};

}  // namespace brawl
