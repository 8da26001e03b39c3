// Every option `brawl --help` lists is named in the manual page and in the README, so that a new
// option left undocumented fails here; the exit statuses --help lists are word for word those of
// the manual page and docs/headless.md; and the README's table of files, folders and variables
// is the manual page's.
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

TEST(DocumentedFiles, TheReadmeAndTheManualPageListTheSameFilesFoldersAndVariables) {
  // README: "| `name` | what |"; manual page: ".TP", the name, what, quoted words in italics.
  std::string readme = ReadFile(SourceDir() + "/README.md");
  readme = readme.substr(readme.find("|---|---|", readme.find("| file, folder or variable |")));
  readme = readme.substr(0, readme.find("\n\n"));
  std::vector<std::string> rows, entries;
  const std::regex row(R"(\n\| (.*) \| (.*) \|)");
  for (std::sregex_iterator it(readme.begin(), readme.end(), row), end; it != end; ++it)
    rows.push_back(std::regex_replace(Plain((*it)[1].str() + " " + (*it)[2].str()), std::regex("`"), ""));
  std::string man = ReadFile(SourceDir() + "/dist/brawl.6");
  man = man.substr(man.find(".SH FILES AND FOLDERS"));
  man = std::regex_replace(Plain(man.substr(0, man.find(".PP"))), std::regex(R"(\\f[IR])"), "");
  for (size_t at = man.find(".TP "); at != std::string::npos;) {
    const size_t next = man.find(".TP ", at + 4);
    std::string entry = man.substr(at + 4, next == std::string::npos ? std::string::npos : next - at - 4);
    entries.push_back(entry.substr(0, entry.find_last_not_of(' ') + 1));
    at = next;
  }
  EXPECT_EQ(rows, entries);
}

}  // namespace
}  // namespace brawl
