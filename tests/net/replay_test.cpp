// Replay files as people hand them around: line ends of another system are read, and what
// cannot be read is named by line and reason.
#include "net/replay.h"

#include <gtest/gtest.h>

#include "base/fatal_error.h"

namespace brawl {
namespace {

TEST(ReplayFile, ReadsOtherLineEndsAndNamesWhatItCannotRead) {
  const Replay crlf =
      ParseReplay("billboard-brawl replay 1\r\nonline 7\r\nframe 101 0\r\nframe 0 2\r\n", "r");
  EXPECT_TRUE(crlf.online);
  EXPECT_EQ(crlf.seed, 7u);
  EXPECT_EQ(crlf.online_passes, (std::vector<uint32_t>{0x101, 0x20000}));
  const std::pair<const char*, const char*> refused[] = {
      {"billboard-brawl replay 2\n", "r, line 1: a replay of version 2; this game plays version 1"},
      {"P6\n", "r, line 1: not a replay (its first line is not 'billboard-brawl replay 1')"},
      {"billboard-brawl replay 1\nonline 99999999999\n", "r, line 2: '99999999999' is too large"},
      {"billboard-brawl replay 1\nonline 1\nframe 1g 0\n", "r, line 3: '1g' is not a hexadecimal number"},
  };
  for (const auto& [text, message] : refused) {
    try {
      ParseReplay(text, "r");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const UsageError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("replay ") + message);
    }
  }
}

}  // namespace
}  // namespace brawl
