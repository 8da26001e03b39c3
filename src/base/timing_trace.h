#pragma once
#include <cstdint>

namespace brawl {

// With BRAWL_TIMING set in the environment, writes "brawl: timing: EVENT SECONDS" on stderr,
// SECONDS being the wall clock, so that a benchmark can time the start-up and the flips from
// outside the process without polling for windows.
void TraceTiming(const char* event);
// The same for a count: "brawl: timing: WHAT VALUE".
void TraceCount(const char* what, int64_t value);

}  // namespace brawl
