#pragma once
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace brawl {

// A program run beside the test, its standard output and error read as one stream: the test
// waits for what the program says, never for a fixed time. Killed when the test lets go of it.
class BackgroundProcess {
 public:
  explicit BackgroundProcess(const std::vector<std::string>& argv) {
    int pipe_fds[2];
    if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(pipe_fds[1], 1);
      ::dup2(pipe_fds[1], 2);
      std::vector<char*> args;
      for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execvp(args[0], args.data());
      ::_exit(127);
    }
    ::close(pipe_fds[1]);
    fd_ = pipe_fds[0];
  }
  ~BackgroundProcess() {
    if (pid_ > 0 && status_ < 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (fd_ >= 0) ::close(fd_);
  }
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  int pid() const { return pid_; }
  const std::string& output() const { return output_; }

  // Reads until the output holds `text` (after `from`), the program ends, or `seconds` pass.
  // Returns where `text` starts, or npos.
  size_t WaitFor(const std::string& text, double seconds, size_t from = 0) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      const size_t at = output_.find(text, from);
      if (at != std::string::npos) return at;
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !ReadSome(static_cast<int>(left.count()))) return std::string::npos;
    }
  }

  // Sends `signal` and waits up to `seconds` for the end; the exit status, or -1.
  int Stop(int signal, double seconds) {
    if (pid_ <= 0) return -1;
    if (status_ < 0) ::kill(pid_, signal);
    return Wait(seconds);
  }
  int Wait(double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (status_ < 0 && std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        while (ReadSome(100)) {
        }
        break;
      }
      ReadSome(20);
    }
    return status_;
  }

 private:
  bool ReadSome(int wait_ms) {
    if (fd_ < 0) return false;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, wait_ms) <= 0) return status_ < 0;
    char buffer[4096];
    const ssize_t got = ::read(fd_, buffer, sizeof buffer);
    if (got <= 0) return false;
    output_.append(buffer, static_cast<size_t>(got));
    return true;
  }

  int pid_ = -1, fd_ = -1, status_ = -1;
  std::string output_;
};

}  // namespace brawl
