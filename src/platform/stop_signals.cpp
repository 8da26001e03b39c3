#include "platform/stop_signals.h"

#include <csignal>

namespace brawl {

namespace {

volatile std::sig_atomic_t received = 0;

void OnStop(int signal) {
  if (received != 0) {
    // Asked twice: the loop is not listening, so go as the default would.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  received = signal;
}

}  // namespace

void InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

int StopSignal() {
  return received;
}

}  // namespace brawl
