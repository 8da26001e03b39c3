// Game codes: what a player may type, what the server hands out.
#include "net/rendezvous_code.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

namespace brawl {
namespace {

TEST(GameCode, ReadsWhatAPlayerTypesAndRefusesLookAlikes) {
  struct Case {
    const char* text;
    bool shape;        // taken for a code rather than a host name
    const char* code;  // what it reads as; "" refused
  };
  const Case kCases[] = {
      {"ABCD-EFGH", true, "ABCD-EFGH"}, {"abcd-efgh", true, "ABCD-EFGH"}, {"7kQ2-m9Xw", true, "7KQ2-M9XW"},
      {"2345-6789", true, "2345-6789"}, {"ABC0-EFGH", true, ""},  // zero
      {"ABCO-EFGH", true, ""},                                    // letter O
      {"ABC1-EFGH", true, ""},          {"ABCI-EFGH", true, ""},          {"ABCl-EFGH", true, ""},  // l, as L
      {"ABCDEFGH", false, ""},          {"ABCD-EFG", false, ""},          {"ABCD_EFGH", false, ""},
      {"ABCD-EFGH:47474", false, ""},   {"ABCD-EFGH.", false, ""},        {"game.example", false, ""},
      {"192.0.2.7", false, ""},         {"AB.D-EFGH", false, ""},         {"", false, ""},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(HasGameCodeShape(c.text), c.shape) << c.text;
    const std::optional<GameCode> code = ParseGameCode(c.text);
    EXPECT_EQ(code ? FormatGameCode(*code) : "", c.code) << c.text;
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
