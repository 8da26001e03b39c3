// The player's language as the environment gives it, through the real binary: Japanese with a
// Japanese locale (installed on the machine or not) or with LANGUAGE=ja under a UTF-8 locale;
// English otherwise, and under the C locale whatever LANGUAGE says, as gettext does.
#include <gtest/gtest.h>

#include <string>

#include "support/run_brawl.h"

namespace brawl {
namespace {

TEST(Language, TheEnvironmentChoosesJapaneseOrEnglish) {
  const struct {
    const char* env;
    bool japanese;
  } kCases[] = {
      {"LC_ALL=C.UTF-8 LANGUAGE=ja", true},
      {"LANG=ja_JP.UTF-8", true},
      {"LC_ALL=ja_JP.UTF-8 LANG=C.UTF-8", true},
      {"LC_MESSAGES=ja_JP.UTF-8 LANG=C.UTF-8", true},
      {"LANG=C.UTF-8 LANGUAGE=ja:en", true},
      {"", false},
      {"LANG=C.UTF-8", false},
      {"LANGUAGE=ja", false},
      {"LC_ALL=C.UTF-8 LANG=ja_JP.UTF-8", false},
      {"LANG=de_DE.UTF-8", false},
  };
  for (const auto& c : kCases) {
    const RunResult help =
        RunShell(std::string("env -i PATH=/usr/bin:/bin ") + c.env + " '" + BRAWL_EXE + "' --help");
    ASSERT_EQ(help.exit_code, 0) << c.env << ": " << help.err;
    EXPECT_EQ(help.out.rfind(c.japanese ? "ビルボード・ブロウル" : "Billboard Brawl", 0), 0u) << c.env;
    EXPECT_EQ(help.err, "") << c.env;
  }
}

}  // namespace
}  // namespace brawl
