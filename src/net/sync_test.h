#pragma once
#include "net/rollback.h"

namespace brawl {

// A local run checked as online play would step it (--force-rollback): after every pass the
// last `depth` passes are stepped again from the match saved before them, as after a wrong
// guess, and each must come out as it did the first time.
struct SyncTest {
  int depth = 0;  // 1 to kMaxPassesAhead
  Rollback rollback;
};

// Steps the pass into `match`, then steps it again with the passes before it. Throws
// FatalError naming the first pass that came out differently. The first pass starts the
// test from `match` as it stands.
PassEvents StepSyncTest(SyncTest& test, Match& match, const PassInput& input);

}  // namespace brawl
