#pragma once
#include <stdexcept>
#include <string>

namespace brawl {

// Ends the program with one line, "brawl: <message>", and exit status 1. The message
// names what failed, the file or device, and why: "what failed: file or device: reason".
struct FatalError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A bad command line or input script: exit status 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// An online game that could not go on for both players: exit status 3. Said as "brawl: net:
// <message>", or as "brawl: <message>" when it is a line of its own.
struct NetError : std::runtime_error {
  explicit NetError(const std::string& message, bool whole_line = false)
      : std::runtime_error(message), own_line(whole_line) {}
  bool own_line;
};

inline FatalError Fatal(const std::string& what, const std::string& where, const std::string& why) {
  return FatalError(what + ": " + where + ": " + why);
}

}  // namespace brawl
