// Game codes: what a player may type, what the server hands out.
#include "net/rendezvous_code.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "support/run_brawl.h"

namespace brawl {
namespace {

// The cases are tests/rendezvous/game_codes.tsv.
TEST(GameCode, ReadsWhatAPlayerTypesAndRefusesLookAlikes) {
  for (const auto& row : Rows("tests/rendezvous/game_codes.tsv")) {
    EXPECT_EQ(HasGameCodeShape(row[0]), row[1] == "1") << row[0];
    const std::optional<GameCode> code = ParseGameCode(row[0]);
    EXPECT_EQ(code ? FormatGameCode(*code) : "", row[2]) << row[0];
  }
}

TEST(GameCode, RandomCodesUseTheWholeAlphabetEvenly) {
  std::mt19937 random(5);
  auto fill = [](uint8_t* bytes, size_t count, void* context) {
    for (size_t i = 0; i < count; ++i)
      bytes[i] = static_cast<uint8_t>((*static_cast<std::mt19937*>(context))());
  };
  std::map<char, int> seen;
  constexpr int kCodes = 31000;
  for (int i = 0; i < kCodes; ++i) {
    const GameCode code = RandomGameCode(fill, &random);
    ASSERT_EQ(ParseGameCode(FormatGameCode(code)), code);
    for (char c : code.text) ++seen[c];
  }
  ASSERT_EQ(seen.size(), kCodeAlphabet.size());
  // Each character within 5 % of its share: a plain byte modulo the alphabet's size would give
  // eight of them 12 % more than the rest.
  const int share = kCodes * kCodeLength / static_cast<int>(kCodeAlphabet.size());
  for (const auto& [c, count] : seen) EXPECT_NEAR(count, share, share / 20) << c;
}

}  // namespace
}  // namespace brawl
