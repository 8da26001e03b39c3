// The sound slots as the whole game uses them, on the headless machine.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/run_brawl.h"

namespace brawl {

using Dump = std::vector<nlohmann::json>;

static int BusySlots(const nlohmann::json& line) {
  const auto& busy = line["SoundBusy"];
  return static_cast<int>(std::count(busy.begin(), busy.end(), -1));
}

TEST(SoundHeadless, WithEightSlotsBusyTheNinthSoundIsDroppedButReported) {
  // Both fighters walk out of the arena and each bleeds once a frame: two hit sounds a pass.
  const Dump d = RunHeadless("1 Down\n1 Enter\n170 Left Z\n");
  size_t first = 0;
  while (first < d.size() && d[first]["Sounds"] != nlohmann::json::array({"ogaa.wav", "ogaa.wav"})) ++first;
  ASSERT_LT(first + 4, d.size());
  EXPECT_EQ(BusySlots(d[first - 1]), 0);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(BusySlots(d[first + k]), 2 * (k + 1));
  // The fifth pair finds every slot busy: asked for, not played, nothing changes.
  EXPECT_EQ(d[first + 4]["Sounds"].size(), 2u);
  EXPECT_EQ(d[first + 4]["SoundBusy"], d[first + 3]["SoundBusy"]);
}

}  // namespace brawl
