#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/fatal_error.h"
#include "platform/scene/xfile_reader.h"

namespace brawl {

// Damaged .x headers found by fuzzing the reader: each must still be refused with one line
// of printable text.
namespace {

std::string Refusal(const std::string& text) {
  try {
    ParseXFile(text, "back1.x", "arena mesh");
  } catch (const FatalError& e) {
    return e.what();
  }
  ADD_FAILURE() << "accepted";
  return "";
}

bool Printable(const std::string& message) {
  return std::none_of(message.begin(), message.end(), [](unsigned char c) { return c < 0x20 || c == 0x7f; });
}

TEST(XFileReaderRegression, FormatWithALineBreakIsShownOnOneLine) {
  const std::string message = Refusal("xof 030.0;;\n 1;\n 3;0,1,2;;\n}\n");
  EXPECT_TRUE(Printable(message)) << message;
  EXPECT_NE(message.find("arena mesh: back1.x: unknown .x format"), std::string::npos) << message;
}

TEST(XFileReaderRegression, FloatSizeWithControlBytesIsShownOnOneLine) {
  const std::string message = Refusal("xof 0302txt 0\r\x1b\x7f{ Mesh {} }");
  EXPECT_TRUE(Printable(message)) << message;
  EXPECT_NE(message.find("arena mesh: back1.x: unknown float size"), std::string::npos) << message;
}

}  // namespace

}  // namespace brawl
