// brawl-rendezvous: the server that introduces two players by a game code (docs/netplay.md).
#include <poll.h>
#include <sys/random.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <exception>

#include "base/fatal_error.h"
#include "rendezvous/rendezvous_server.h"
#include "rendezvous/server_options.h"
#include "rendezvous/udp_socket.h"

namespace {

volatile std::sig_atomic_t stop_signal = 0;

void OnStopSignal(int signal) {
  stop_signal = signal;
}

int64_t NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// Codes and tokens nobody can guess: the kernel's random source.
void KernelRandom(uint8_t* bytes, size_t count, void*) {
  while (count > 0) {
    const ssize_t got = getrandom(bytes, count, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw brawl::Fatal("random numbers", "getrandom", "failed");
    }
    bytes += got;
    count -= static_cast<size_t>(got);
  }
}

void Log(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
}

int Serve(const brawl::ServerOptions& options) {
  using namespace brawl;
  UdpSocket control(static_cast<uint16_t>(options.port));
  UdpSocket relay(static_cast<uint16_t>(options.port + 1));
  RendezvousServer server(options.limits, KernelRandom, nullptr, Log);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  Log("listening on UDP port " + std::to_string(control.port()) + ", relaying on UDP port " +
      std::to_string(relay.port()));

  std::vector<ServerSend> out;
  uint8_t buffer[2048];
  while (stop_signal == 0) {
    pollfd fds[2] = {{control.fd(), POLLIN, 0}, {relay.fd(), POLLIN, 0}};
    ::poll(fds, 2, 50);
    // A bounded batch from each socket, so that the timers run under a flood too.
    for (int batch = 0; batch < 512; ++batch) {
      bool any = false;
      for (UdpSocket* socket : {&control, &relay}) {
        NetAddress from;
        const long size = socket->Receive(from, buffer, sizeof buffer);
        if (size < 0) continue;
        any = true;
        if (size == 0 || size > static_cast<long>(sizeof buffer)) continue;  // nothing a player sends
        const size_t length = static_cast<size_t>(size);
        if (socket == &control) {
          server.OnControl(from, buffer, length, NowMs(), out);
        } else {
          server.OnRelay(from, buffer, length, NowMs(), out);
        }
      }
      for (const ServerSend& send : out)
        (send.relay ? relay : control).SendTo(send.to, send.bytes.data(), send.bytes.size());
      out.clear();
      if (!any) break;
    }
    server.Tick(NowMs());
  }
  Log(std::string("stopped by ") + (stop_signal == SIGINT ? "SIGINT" : "SIGTERM") + " with " +
      std::to_string(server.games()) + " games open");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace brawl;
  try {
    const ServerOptions options = ParseServerOptions(argc, argv);
    if (!options.answer.empty()) {
      std::fputs(options.answer.c_str(), stdout);
      return 0;
    }
    return Serve(options);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "brawl-rendezvous: %s\n", e.what());
    return 2;
  } catch (const FatalError& e) {
    std::fprintf(stderr, "brawl-rendezvous: %s\n", e.what());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brawl-rendezvous: unexpected failure: %s\n", e.what());
    return 1;
  }
}
