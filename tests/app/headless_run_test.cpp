// The headless mode through the real binary: options, script, dump, clock, sounds, screenshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/data_files.h"
#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

namespace {

using Json = nlohmann::json;

class HeadlessRun : public ::testing::Test {
 protected:
  void TearDown() override { fs::remove_all(out_); }
  std::string out_ = MakeTempDir();
};

// A run lasts --frames passes whatever its script holds (past the script's end nothing is held
// and the run goes on), else as long as its script (one with no step runs no pass), else 600.
TEST_F(HeadlessRun, ARunLastsItsFramesOrItsScriptOrSixHundredPasses) {
  EXPECT_EQ(RunHeadless("1 Enter\n10 Up\n", {"--frames", "3"}).size(), 4u);
  EXPECT_EQ(RunHeadless("1 Enter\n10 Up\n", {"--frames", "0"}).size(), 1u);
  const std::vector<Json> lines = RunHeadless("1 Enter\n", {"--frames", "8"});
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[8]["pass"], 8);
  EXPECT_EQ(lines[8]["GameMode"], 1);
  EXPECT_EQ(RunHeadless("").size(), 1u);
  EXPECT_EQ(RunHeadless("# only a comment\n\n   \n").size(), 1u);
  EXPECT_EQ(RunHeadless("# still nothing\n", {"--frames", "20"}).size(), 1u);
  const std::string dump = out_ + "/dump.jsonl";
  ASSERT_EQ(RunBrawl({"--headless", "--dump", dump}).exit_code, 0);
  const std::vector<Json> unscripted = ReadDump(dump);
  ASSERT_EQ(unscripted.size(), 601u);
  EXPECT_EQ(unscripted.back()["pass"], 600);
  EXPECT_EQ(unscripted.back()["GameMode"], 0);  // nobody pressed Enter
}

// The parsers' own tests hold every bad word; through the binary a bad line ends with
// status 2 before any dump is written.
TEST_F(HeadlessRun, BadOptionsAndScriptLinesAreUsageErrorsAndWriteNoDump) {
  const std::string dump = out_ + "/dump.jsonl";
  const struct {
    std::vector<std::string> args;
    const char* script;
    const char* named;
  } cases[] = {
      {{"--headless", "--no-such-option"}, "", "brawl: --no-such-option"},
      {{"--headless", "--script", "-"},
       "1 Enter\n# two\n\n2 Fire\n",
       "brawl: input script (standard input), line 4: unknown key 'Fire'\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--dump", dump});
    const RunResult run = RunBrawl(args, c.script);
    EXPECT_EQ(run.exit_code, 2) << c.args[1];
    EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dump)) << c.args[1];
  }
}

TEST_F(HeadlessRun, UnwritableDumpIsFatalAndNamed) {
  const RunResult run = RunBrawl({"--headless", "--frames", "1", "--dump", out_ + "/no/such/folder/d.jsonl"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("no/such/folder/d.jsonl"), std::string::npos) << run.err;
}

// The scripted run with joysticks pins what a chosen one does, and that its player's keys do
// nothing; one attached but chosen by nobody is polled by nobody: its fire button fires nothing.
TEST_F(HeadlessRun, JoystickNobodyChoseMovesNothing) {
  const std::vector<Json> unchosen = RunHeadless("1 Enter\n1 J1.B2\n", {"--joysticks", "1"});
  ASSERT_EQ(unchosen.size(), 3u);
  EXPECT_EQ(unchosen[2]["Sounds"], Json::array());
}

// What the pictures show, at both sizes, is the golden pictures' part.
TEST_F(HeadlessRun, ScreenshotsOfTheAskedPasses) {
  const std::string a = out_ + "/a.png", b = out_ + "/b.png", c = out_ + "/c.png";
  const RunResult run = RunBrawl({"--headless", "--script", "-", "--screenshot", "1:" + a, "--screenshot",
                                  "4:" + b, "--screenshot", "9:" + c},
                                 "1 Enter\n3\n");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.err.find("9:" + c + " not taken"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::exists(a) && fs::exists(b));
  EXPECT_FALSE(fs::exists(c));  // the run ended after pass 4
}

// Whatever stands at the name of the script, the run ends at once with one line naming it and
// what is wrong: never a hang. The data files are the data folder test's, every kind of file
// the file reader's.
TEST_F(HeadlessRun, ScriptsThatAreNotWhatTheySeemAreRefusedAtOnce) {
  const std::string path = out_ + "/script";
  for (const auto& [how, why] : std::vector<std::pair<std::string, std::string>>{
           {"long 5000", "input script " + path + ", line 3: longer than 4096 characters"},
           {"fifo",
            "cannot read the input script: " + path + ": is a named pipe with nothing writing to it"}}) {
    Spoil(path, how);
    const RunResult run = RunBrawl({"--headless", "--script", path}, "", 20);
    EXPECT_EQ(run.exit_code, 2) << how;
    EXPECT_EQ(run.err, "brawl: " + why + "\n");
  }
}

}  // namespace

}  // namespace brawl
