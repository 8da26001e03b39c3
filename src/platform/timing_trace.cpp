#include "platform/timing_trace.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace brawl {

void TraceTiming(const char* event) {
  static const bool enabled = std::getenv("BRAWL_TIMING") != nullptr;
  if (!enabled) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::fprintf(stderr, "brawl: timing: %s %lld.%06ld\n", event, static_cast<long long>(now.tv_sec),
               now.tv_nsec / 1000);
}

}  // namespace brawl
