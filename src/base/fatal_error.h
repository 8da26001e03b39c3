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

// An online game that could not go on for both players: exit status 3.
struct NetError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline FatalError Fatal(const std::string& what, const std::string& where, const std::string& why) {
  return FatalError(what + ": " + where + ": " + why);
}

}  // namespace brawl
