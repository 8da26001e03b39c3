#include "net/sync_test.h"

#include <algorithm>
#include <string>

#include "base/fatal_error.h"
#include "base/i18n.h"
#include "net/state_hash.h"

namespace brawl {

PassEvents StepSyncTest(SyncTest& test, Match& match, const PassInput& input) {
  Rollback& r = test.rollback;
  if (r.pass == 0) StartLocalRollback(r, match);
  const PassEvents events = AdvanceLocal(r, input);
  const int32_t first = std::max(1, r.pass - test.depth + 1);
  uint64_t stepped[kMaxPassesAhead] = {};
  for (int32_t f = first; f <= r.pass; ++f) stepped[f - first] = HashMatch(MatchAfter(r, f));
  StepAgainFrom(r, first);
  for (int32_t f = first; f <= r.pass; ++f) {
    if (HashMatch(MatchAfter(r, f)) != stepped[f - first]) {
      throw Fatal(
          _("sync test"), Fill(_("pass {1}"), {std::to_string(f)}),
          Fill(_("stepped again from pass {1} it came out differently"), {std::to_string(first - 1)}));
    }
  }
  match = r.match;
  return events;
}

}  // namespace brawl
