// The README's examples run as written: the headless run (from a folder holding the build as
// `build/`), the controls.ini, and the install into a home folder. The set-up commands are this
// suite's own, and the package's example is what tests/package does.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "support/run_brawl.h"

namespace brawl {
namespace {

namespace fs = std::filesystem;

// The lines of the README's code blocks of one kind ("sh", "ini").
std::vector<std::string> Blocks(const std::string& kind) {
  const std::string readme = ReadFile(SourceDir() + "/README.md");
  std::vector<std::string> blocks;
  const std::regex block("```" + kind + "\\n([^`]*)```");
  for (std::sregex_iterator it(readme.begin(), readme.end(), block), end; it != end; ++it)
    blocks.push_back((*it)[1]);
  return blocks;
}

std::string ExampleStartingWith(const std::string& words) {
  for (const std::string& block : Blocks("sh"))
    if (block.rfind(words, 0) == 0) return block.substr(0, block.find('\n'));
  return "";
}

TEST(ReadmeExamples, RunAsWritten) {
  const std::string home = MakeTempDir();
  fs::create_symlink(BuildDir(), home + "/build");
  const std::string headless = ExampleStartingWith("printf ");
  ASSERT_NE(headless, "");
  RunResult run = RunShell("cd '" + home + "' && " + headless);
  EXPECT_EQ(run.exit_code, 0) << headless << "\n" << run.err;
  EXPECT_TRUE(fs::exists(home + "/shot.png")) << headless;
  EXPECT_GT(ReadFile(home + "/run.jsonl").size(), 1000u) << headless;

  ASSERT_EQ(Blocks("ini").size(), 1u);
  std::ofstream(home + "/controls.ini") << Blocks("ini")[0];
  run = RunBrawl({"--headless", "--app-path", BuildDir(), "--config-dir", home, "--frames", "1"});
  EXPECT_EQ(run.exit_code, 0) << run.err;

  const std::string install = ExampleStartingWith("cmake --install");
  ASSERT_NE(install, "");
  // Into the test's own home: `~` is the shell's to expand.
  run = RunShell("cd '" + SourceDir() + "' && export HOME='" + home + "' && " +
                 install.substr(0, install.find(" #")) + " >/dev/null");
  EXPECT_EQ(run.exit_code, 0) << install << "\n" << run.err;
  run = RunShell("HOME='" + home + "' '" + home + "/.local/bin/brawl' --version");
  EXPECT_EQ(run.out.rfind("brawl ", 0), 0u) << run.out << run.err;
  fs::remove_all(home);
}

}  // namespace
}  // namespace brawl
