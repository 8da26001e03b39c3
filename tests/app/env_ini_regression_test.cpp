#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/env_ini.h"
#include "platform/fatal_error.h"

namespace brawl {

// Damaged settings files found by fuzzing the reader: each must still be refused with one
// short line of printable text.
namespace {

using namespace std::string_literals;

std::string Refusal(const std::string& text) {
  try {
    ParseEnvIni(text, "/x/env.ini");
  } catch (const FatalError& e) {
    return e.what();
  }
  ADD_FAILURE() << "accepted";
  return "";
}

bool Printable(const std::string& message) {
  return std::none_of(message.begin(), message.end(), [](unsigned char c) { return c < 0x20 || c == 0x7f; });
}

TEST(EnvIniRegression, QuotedNumberSpanningLinesIsShownOnOneLine) {
  const std::string message = Refusal("100,\"wai,0,\"wai,\"\n0,\"h\"D\n1,\"w\"\n0,\"h\"D\n1,\"f\"t\"\n");
  EXPECT_TRUE(Printable(message)) << message;
  EXPECT_NE(message.find("settings file: /x/env.ini: field 3 is not a number: \"?0,\""), std::string::npos)
      << message;
}

TEST(EnvIniRegression, ControlBytesInANumberAreMasked) {
  const std::string message = Refusal("1\x1b[2J\0,a\n0,b\n0,c\n"s);
  EXPECT_TRUE(Printable(message)) << message;
  EXPECT_NE(message.find("field 1 is not a number: \"1?[2J?\""), std::string::npos) << message;
}

TEST(EnvIniRegression, AHugeFieldIsCutShort) {
  const std::string message = Refusal(std::string(100000, '7') + ",a\n0,b\n0,c\n");
  EXPECT_NE(message.find("field 1 is outside -32768..32767: 7777"), std::string::npos) << message;
  EXPECT_LT(message.size(), 200u) << message;
  EXPECT_NE(message.find("..."), std::string::npos) << message;
}

}  // namespace

}  // namespace brawl
