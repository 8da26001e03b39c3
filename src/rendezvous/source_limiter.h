#pragma once
#include <cstdint>
#include <vector>

namespace brawl {

// Token buckets per source address in a table of fixed size, so that a flood, spoofed or not,
// costs no memory: a source that has sent too much is refused for a while; a new source takes
// the slot of whichever of its two candidates was seen longest ago.
class SourceLimiter {
 public:
  SourceLimiter(int slots, double per_second, double burst);
  // Whether `ip` may be heard now; takes one token when it may.
  bool Allow(uint32_t ip, int64_t now_ms);

 private:
  struct Slot {
    uint32_t ip = 0;
    double tokens = 0;
    int64_t seen_ms = -1;
  };
  double Refilled(const Slot& slot, int64_t now_ms) const;

  std::vector<Slot> slots_;
  double per_second_, burst_;
};

// One bucket for everything: bounds what the server sends a second, whoever asks.
class RateBudget {
 public:
  RateBudget(double per_second, double burst) : per_second_(per_second), burst_(burst), tokens_(burst) {}
  bool Take(double amount, int64_t now_ms);

 private:
  double per_second_, burst_, tokens_;
  int64_t seen_ms_ = -1;
};

}  // namespace brawl
