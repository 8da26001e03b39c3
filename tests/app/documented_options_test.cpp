// Every option `brawl --help` lists is named in the manual page and in the README, so that a new
// option left undocumented fails here; and the exit statuses --help lists are word for word those
// of the manual page and docs/headless.md.
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

// Runs of blanks as one space, without roff's escaped dashes.
std::string Plain(std::string text) {
  for (size_t at; (at = text.find("\\-")) != std::string::npos;) text.replace(at, 2, "-");
  return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

TEST(DocumentedExitStatuses, AreTheSameInHelpTheManualPageAndTheHeadlessNotes) {
  const std::string help = RunBrawl({"--help"}).out;
  const std::string man = ReadFile(SourceDir() + "/dist/brawl.6");
  const std::string notes = ReadFile(SourceDir() + "/docs/headless.md");
  const std::string statuses = help.substr(help.find("Exit status:"));
  int found = 0;
  const std::regex status(R"(\n  (\d)  ((?:[^\n]|\n     )*))");
  for (std::sregex_iterator it(statuses.begin(), statuses.end(), status), end; it != end; ++it, ++found) {
    const std::string code = (*it)[1], meaning = Plain((*it)[2]);
    EXPECT_NE(Plain(man).find(".B " + code + " " + meaning), std::string::npos) << code << " " << meaning;
    EXPECT_NE(notes.find("| " + code + " | " + meaning + " |"), std::string::npos) << code << " " << meaning;
  }
  EXPECT_EQ(found, 4) << statuses;
}

}  // namespace
}  // namespace brawl
