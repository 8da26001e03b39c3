#pragma once
#include <chrono>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

namespace brawl {

// Runs the real game binary and reports how it ended.
struct RunResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs `brawl` with the given arguments; `script` is fed to standard input (use
// "--script -" to read it). With a timeout, a run still going after that many seconds is
// killed and ends with status 124. The working directory is `folder`, by default the build
// folder.
RunResult RunBrawl(const std::vector<std::string>& args, const std::string& script = "",
                   int timeout_seconds = 0, const std::string& folder = "");

// A headless run with the given script: "--headless --script - --dump <tmp>" plus `args`.
// Returns the dump's lines, parsed; fails the test when the run does not end with status 0.
std::vector<nlohmann::json> RunHeadless(const std::string& script, const std::vector<std::string>& args = {});

// The lines of a state dump, parsed.
std::vector<nlohmann::json> ReadDump(const std::string& path);
// A dump line without what each side of an online game (or its replay) times, hears or counts
// for itself: what both must agree on.
nlohmann::json Shared(nlohmann::json line);

// A shell command line run to its end, `input` on its standard input: its exit status and both
// streams.
RunResult RunShell(const std::string& command, const std::string& input = "");

// The rows of a committed table, `name` in the source tree: each line split at its tabs, "\n"
// in a cell standing for a line end; lines that start with '#', and blank ones, are left out.
std::vector<std::vector<std::string>> Rows(const std::string& name);

// The bytes of a file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// Asks `done` every 20 ms until it says yes, for at most `bound`; what it said last.
template <typename Done>
bool Until(Done done, std::chrono::seconds bound = std::chrono::seconds(30)) {
  const auto give_up = std::chrono::steady_clock::now() + bound;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// A fresh empty folder under the test temp folder.
std::string MakeTempDir();
std::string BuildDir();
std::string SourceDir();

}  // namespace brawl
