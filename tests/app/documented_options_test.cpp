// Every option `brawl --help` lists is named in the manual page and in the README, so that a new
// option left undocumented fails here.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "support/run_brawl.h"

namespace brawl {
namespace {

// Whether `text` names `option` as a whole word ("--joystick" is not in "--joysticks").
bool Names(const std::string& text, const std::string& option) {
  for (size_t at = text.find(option); at != std::string::npos; at = text.find(option, at + 1)) {
    const char after = at + option.size() < text.size() ? text[at + option.size()] : ' ';
    const char before = at > 0 ? text[at - 1] : ' ';
    if (!std::isalnum(static_cast<unsigned char>(after)) && after != '-' && before != '-') return true;
  }
  return false;
}

TEST(DocumentedOptions, TheManualPageAndTheReadmeNameEveryOptionOfHelp) {
  const RunResult help = RunBrawl({"--help"});
  ASSERT_EQ(help.exit_code, 0) << help.err;
  std::set<std::string> options;
  const std::regex option(R"((^|[ ,])(--?[a-z][a-z-]*))");
  for (std::sregex_iterator it(help.out.begin(), help.out.end(), option), end; it != end; ++it)
    options.insert((*it)[2]);
  ASSERT_GT(options.size(), 20u) << help.out;

  std::string man = ReadFile(SourceDir() + "/dist/brawl.6");
  for (size_t at; (at = man.find("\\-")) != std::string::npos;) man.replace(at, 2, "-");
  const std::string readme = ReadFile(SourceDir() + "/README.md");
  for (const std::string& name : options) {
    EXPECT_TRUE(Names(man, name)) << name << " is not in dist/brawl.6";
    EXPECT_TRUE(Names(readme, name)) << name << " is not in README.md";
  }
}

}  // namespace
}  // namespace brawl
