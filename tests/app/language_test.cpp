// The player's language as the environment gives it, through the real binary: Japanese with a
// Japanese locale (installed on the machine or not) or with LANGUAGE=ja under a UTF-8 locale;
// English otherwise, and under the C locale whatever LANGUAGE says, as gettext does.
#include <gtest/gtest.h>

#include <string>

#include "support/run_brawl.h"

namespace brawl {
namespace {

// The environments are tests/app/languages.tsv.
TEST(Language, TheEnvironmentChoosesJapaneseOrEnglish) {
  for (const auto& row : Rows("tests/app/languages.tsv")) {
    const RunResult help = RunShell("env -i PATH=/usr/bin:/bin " + row[0] + " '" + BRAWL_EXE + "' --help");
    ASSERT_EQ(help.exit_code, 0) << row[0] << ": " << help.err;
    EXPECT_EQ(help.out.rfind(row[1] == "1" ? "ビルボード・ブロウル" : "Billboard Brawl", 0), 0u) << row[0];
    EXPECT_EQ(help.err, "") << row[0];
  }
}

}  // namespace
}  // namespace brawl
