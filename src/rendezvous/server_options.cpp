#include "rendezvous/server_options.h"

#include <charconv>
#include <string_view>

#include "base/fatal_error.h"

namespace brawl {

namespace {

constexpr const char* kHelp =
    "Usage: brawl-rendezvous [--port N] [--max-games N] [--max-relayed N]\n"
    "The rendezvous server of Billboard Brawl: hands a hosting player a game code, introduces\n"
    "the player who joins with it, times their hole punch and relays when punching fails.\n"
    "\n"
    "  --port N         listen on UDP port N (default 47475); the relay takes N+1\n"
    "  --max-games N    games registered at once (default 1024)\n"
    "  --max-relayed N  games relayed at once (default 64)\n"
    "  --help           show this text and exit\n"
    "  --version        print the version and exit\n";

int Number(std::string_view option, std::string_view text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
      value > high) {
    throw UsageError(std::string(option) + " wants a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", not '" + std::string(text) + "'");
  }
  return value;
}

}  // namespace

ServerOptions ParseServerOptions(int argc, char** argv) {
  ServerOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help") {
      options.answer = kHelp;
      return options;
    }
    if (arg == "--version") {
      options.answer = "brawl-rendezvous " BRAWL_VERSION "\n";
      return options;
    }
    if (arg != "--port" && arg != "--max-games" && arg != "--max-relayed") {
      throw UsageError(arg.starts_with("-") ? std::string(arg) + ": unknown option"
                                            : "unexpected argument '" + std::string(arg) + "'");
    }
    if (i + 1 >= argc) throw UsageError(std::string(arg) + " needs a value");
    const std::string_view value = argv[++i];
    if (arg == "--port") options.port = Number(arg, value, 1, 65534);
    if (arg == "--max-games") options.limits.max_games = Number(arg, value, 1, 65536);
    if (arg == "--max-relayed") options.limits.max_relayed = Number(arg, value, 0, 4096);
  }
  return options;
}

}  // namespace brawl
