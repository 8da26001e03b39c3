// The rendezvous messages: each kind goes through its codec unchanged, no answer is longer
// than a request, and what is not exactly a message of this version is refused; the addresses
// and game codes a player types, and the codes the server hands out.
#include "net/rendezvous_protocol.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "net/rendezvous_code.h"
#include "support/run_brawl.h"

namespace brawl {
namespace {

RendezvousMessage Full(RendezvousType type) {
  RendezvousMessage m = RendezvousOf(type);
  m.nonce = 0x0102030405060708ULL;
  m.token = 0xF1E2D3C4B5A69788ULL;
  m.code = *ParseGameCode("7KQ2-M9XW");
  m.public_address = {0xCB007105, 40001};
  m.mapped = {0xCB007105, 47474};
  m.locals = {{0x0A000102, 47474}, {0xC0A80107, 47474}, {0xAC100001, 1}, {0x01020304, 65535}};
  m.side = Side::Joiner;
  m.lifetime_s = 1800;
  m.delay_ms = 130;
  m.probe = ProbeKind::Agreed;
  m.path = LinkPath::Relayed;
  m.stamp = 0xDEADBEEF;
  m.error = RendezvousError::Full;
  return m;
}

TEST(RendezvousProtocol, EveryMessageRoundTripsAndNoAnswerOutgrowsARequest) {
  for (int t = 1; t <= static_cast<int>(RendezvousType::Error); ++t) {
    const RendezvousType type = static_cast<RendezvousType>(t);
    const std::vector<uint8_t> bytes = EncodeRendezvous(Full(type));
    if (IsRendezvousRequest(type)) {
      EXPECT_EQ(bytes.size(), kRendezvousRequestSize) << t;
    } else {
      EXPECT_LE(bytes.size(), kRendezvousRequestSize) << t;
    }
    const std::optional<RendezvousMessage> back = DecodeRendezvous(bytes.data(), bytes.size());
    ASSERT_TRUE(back) << t;
    EXPECT_EQ(EncodeRendezvous(*back), bytes) << t;
    // Every byte less is refused, and so is one more.
    for (size_t cut = 0; cut < bytes.size(); ++cut)
      EXPECT_FALSE(DecodeRendezvous(bytes.data(), cut)) << t << "/" << cut;
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(DecodeRendezvous(longer.data(), longer.size())) << t;
  }
}

// The damage is tests/rendezvous/damaged_messages.tsv.
TEST(RendezvousProtocol, RefusesDamagedMessages) {
  for (const auto& row : Rows("tests/rendezvous/damaged_messages.tsv")) {
    std::vector<uint8_t> bytes = EncodeRendezvous(Full(static_cast<RendezvousType>(std::stoi(row[1]))));
    const size_t at = std::stoul(row[2]);
    const auto value = static_cast<uint8_t>(std::stoi(row[3]));
    ASSERT_LT(at, bytes.size()) << row[0];
    ASSERT_NE(bytes[at], value) << row[0];
    bytes[at] = value;
    EXPECT_FALSE(DecodeRendezvous(bytes.data(), bytes.size())) << row[0];
  }
}

// The cases are tests/rendezvous/addresses.tsv.
TEST(RendezvousProtocol, ReadsAndWritesAddresses) {
  for (const auto& row : Rows("tests/rendezvous/addresses.tsv")) {
    const std::optional<NetAddress> a = ParseNetAddress(row[0], kRendezvousPort);
    EXPECT_EQ(a ? AddressText(*a) : "", row[1]) << row[0];
  }
}

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
