#pragma once
#include <cstdint>

#include "sim/match.h"

namespace brawl {

// A hash of everything the rules keep, field by field (never the padding between them), for
// two machines to compare what they believe.
uint64_t HashMatch(const Match& match);

}  // namespace brawl
