#include "base/timing_trace.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace brawl {

namespace {
bool Tracing() {
  static const bool enabled = std::getenv("BRAWL_TIMING") != nullptr;
  return enabled;
}
}  // namespace

void TraceCount(const char* what, int64_t value) {
  if (Tracing()) std::fprintf(stderr, "brawl: timing: %s %lld\n", what, static_cast<long long>(value));
}

void TraceTiming(const char* event) {
  if (!Tracing()) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::fprintf(stderr, "brawl: timing: %s %lld.%06ld\n", event, static_cast<long long>(now.tv_sec),
               now.tv_nsec / 1000);
}

}  // namespace brawl
