// A replay file given on the command line: one that is refused says why on one line.
#include <cstdint>
#include <string>

#include "base/fatal_error.h"
#include "fuzz_checks.h"
#include "net/replay.h"

// libFuzzer calls the entry point by its C name, outside our namespace.
using namespace brawl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const Replay replay = ParseReplay(std::string(reinterpret_cast<const char*>(data), size), "fuzz.replay");
    Require(replay.online || replay.frame_ms > 0, "a local replay's clock runs");
  } catch (const UsageError& e) {
    CheckOneLine(e.what());
  }
  return 0;
}
