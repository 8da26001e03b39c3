#include "rendezvous/source_limiter.h"

#include <algorithm>

namespace brawl {

namespace {

uint32_t Mix(uint32_t x, uint32_t seed) {
  x ^= seed;
  x *= 0x9E3779B1u;
  x ^= x >> 15;
  x *= 0x85EBCA77u;
  return x ^ (x >> 13);
}

}  // namespace

SourceLimiter::SourceLimiter(int slots, double per_second, double burst)
    : slots_(static_cast<size_t>(std::max(slots, 2))), per_second_(per_second), burst_(burst) {}

double SourceLimiter::Refilled(const Slot& slot, int64_t now_ms) const {
  if (slot.seen_ms < 0) return burst_;
  return std::min(burst_, slot.tokens + per_second_ * static_cast<double>(now_ms - slot.seen_ms) / 1000.0);
}

bool SourceLimiter::Allow(uint32_t ip, int64_t now_ms) {
  Slot& a = slots_[Mix(ip, 0x1234567u) % slots_.size()];
  Slot& b = slots_[Mix(ip, 0x89ABCDEu) % slots_.size()];
  Slot* slot = nullptr;
  if (a.seen_ms >= 0 && a.ip == ip) {
    slot = &a;
  } else if (b.seen_ms >= 0 && b.ip == ip) {
    slot = &b;
  } else {
    // A newcomer starts with a full bucket in the slot seen longest ago.
    slot = (a.seen_ms <= b.seen_ms) ? &a : &b;
    *slot = Slot{ip, burst_, now_ms};
  }
  slot->tokens = Refilled(*slot, now_ms);
  slot->seen_ms = now_ms;
  if (slot->tokens < 1.0) return false;
  slot->tokens -= 1.0;
  return true;
}

bool RateBudget::Take(double amount, int64_t now_ms) {
  if (seen_ms_ >= 0)
    tokens_ = std::min(burst_, tokens_ + per_second_ * static_cast<double>(now_ms - seen_ms_) / 1000.0);
  seen_ms_ = now_ms;
  if (tokens_ < amount) return false;
  tokens_ -= amount;
  return true;
}

}  // namespace brawl
