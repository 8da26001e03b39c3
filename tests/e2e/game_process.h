#pragma once
// The real game binary run as a child of the test, on a given X display.
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "support/run_brawl.h"

namespace brawl {

// One run of `brawl` (or `exe`) on `display` (none when empty), silent audio, its output
// and errors kept.
class GameProcess {
 public:
  GameProcess(const std::string& display, const std::vector<std::string>& args, std::string folder = "",
              const std::string& exe = BRAWL_EXE) {
    if (folder.empty()) folder = BuildDir();
    const std::string logs = MakeTempDir();
    err_path_ = logs + "/err";
    out_path_ = logs + "/out";
    pid_ = fork();
    if (pid_ != 0) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int err = open(err_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int out = open(out_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (chdir(folder.c_str()) != 0) _exit(126);
    unsetenv("WAYLAND_DISPLAY");
    if (display.empty()) {
      unsetenv("DISPLAY");
    } else {
      setenv("DISPLAY", display.c_str(), 1);
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::vector<std::string> all = {exe};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  ~GameProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  // The exit status, or -1 when the program did not end in time (it is then killed).
  int Wait(std::chrono::seconds bound = std::chrono::seconds(20)) {
    const auto give_up = std::chrono::steady_clock::now() + bound;
    int status = 0;
    while (std::chrono::steady_clock::now() < give_up) {
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
  }
  std::string Errors() const { return ReadFile(err_path_); }
  std::string Output() const { return ReadFile(out_path_); }

 private:
  pid_t pid_ = -1;
  std::string err_path_;
  std::string out_path_;
};

}  // namespace brawl
