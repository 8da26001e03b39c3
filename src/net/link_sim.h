#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "platform/net_link.h"

namespace brawl {

// What a bad link does to the datagrams one side sends: each is held back half the round trip
// plus up to `jitter_ms` (so that some overtake others), a share of the unreliable ones is lost
// and another share arrives twice; all of it drawn from a seeded random source.
struct LinkFaults {
  double rtt_ms = 0, jitter_ms = 0;
  double loss_percent = 0, duplicate_percent = 0;
  uint32_t seed = 1;
};

using LinkTime = std::chrono::steady_clock::time_point (*)();

// Wraps `inner`, sending through it what `faults` let through when it is due by `now`.
std::unique_ptr<NetLink> WithFaults(std::unique_ptr<NetLink> inner, const LinkFaults& faults,
                                    LinkTime now = std::chrono::steady_clock::now);

// Two ends of a link inside one process, for tests: what one sends, the other receives.
std::pair<std::unique_ptr<NetLink>, std::unique_ptr<NetLink>> LinkPair();

}  // namespace brawl
