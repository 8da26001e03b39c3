// The headless mode through the real binary: options, script, dump, clock, sounds, screenshots.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/data_files.h"
#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

namespace {

using Json = nlohmann::json;

// A copy of the build's program folder, free to spoil.
class HeadlessRun : public ::testing::Test {
 protected:
  void TearDown() override {
    fs::remove_all(app_);
    fs::remove_all(out_);
  }

  std::vector<Json> Run(const std::string& script, std::vector<std::string> args = {}) {
    args.insert(args.begin(), {"--app-path", app_});
    return RunHeadless(script, args);
  }
  RunResult RunRaw(std::vector<std::string> args, const std::string& script = "") {
    args.insert(args.begin(), {"--headless", "--app-path", app_});
    return RunBrawl(args, script);
  }

  std::string app_ = fs::path(CopyOfDataFolder()).parent_path();
  std::string out_ = MakeTempDir();
};

TEST_F(HeadlessRun, FramesEndsTheRunWhateverTheScriptHolds) {
  EXPECT_EQ(Run("1 Enter\n10 Up\n", {"--frames", "3"}).size(), 4u);
  EXPECT_EQ(Run("1 Enter\n10 Up\n", {"--frames", "0"}).size(), 1u);
  // Past the script's end nothing is held, and the run goes on.
  const std::vector<Json> lines = Run("1 Enter\n", {"--frames", "8"});
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[8]["pass"], 8);
  EXPECT_EQ(lines[8]["GameMode"], 1);
}

TEST_F(HeadlessRun, WithoutAScriptSixHundredPasses) {
  const std::string dump = out_ + "/dump.jsonl";
  const RunResult run = RunRaw({"--dump", dump});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const std::string text = ReadFile(dump);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 601);
  const Json last = Json::parse(text.substr(text.rfind('\n', text.size() - 2) + 1));
  EXPECT_EQ(last["pass"], 600);
  EXPECT_EQ(last["GameMode"], 0);  // nobody pressed Enter
}

TEST_F(HeadlessRun, ScriptWithNoStepRunsNoPass) {
  EXPECT_EQ(Run("").size(), 1u);
  EXPECT_EQ(Run("# only a comment\n\n   \n").size(), 1u);
  EXPECT_EQ(Run("# still nothing\n", {"--frames", "20"}).size(), 1u);
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
      {{"--headless", "--frames", "ten"}, "", "brawl: --frames"},
      {{"--headless", "--no-such-option"}, "", "brawl: --no-such-option"},
      {{"--frames", "3"}, "", "--headless"},
      {{"--headless", "--script", "-"},
       "1 Enter\n# two\n\n2 Fire\n",
       "brawl: input script (standard input), line 4: unknown key 'Fire'\n"},
      {{"--headless", "--script", "-"}, "1 Enter\n1 J1.B0\n", "line 2"},  // no joystick attached
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--app-path", app_, "--dump", dump});
    const RunResult run = RunBrawl(args, c.script);
    EXPECT_EQ(run.exit_code, 2) << c.args[1];
    EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dump)) << c.args[1];
  }
}

TEST_F(HeadlessRun, UnwritableDumpIsFatalAndNamed) {
  const RunResult run = RunRaw({"--frames", "1", "--dump", out_ + "/no/such/folder/d.jsonl"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("no/such/folder/d.jsonl"), std::string::npos) << run.err;
}

TEST_F(HeadlessRun, JoystickScriptMovesOnlyAChosenJoystick) {
  // Player 1 on joystick 1: its third button fires.
  const std::vector<Json> chosen = Run("1 Enter\n1 J1.B2\n", {"--joysticks", "1", "--joystick", "1"});
  ASSERT_EQ(chosen.size(), 3u);
  EXPECT_EQ(chosen[2]["Sounds"], Json::parse(R"(["fire.wav"])"));
  // Attached but chosen by nobody: polled by nobody.
  const std::vector<Json> unchosen = Run("1 Enter\n1 J1.B2\n", {"--joysticks", "1"});
  ASSERT_EQ(unchosen.size(), 3u);
  EXPECT_EQ(unchosen[2]["Sounds"], Json::array());
  // A player on the joystick is not steered by the keys.
  const std::vector<Json> keys = Run("1 Enter\n1 Num3\n", {"--joysticks", "2", "--joystick", "1"});
  EXPECT_EQ(keys[2]["Sounds"], Json::array());
}

// What the pictures show, at both sizes, is the golden pictures' part.
TEST_F(HeadlessRun, ScreenshotsOfTheAskedPasses) {
  const std::string a = out_ + "/a.png", b = out_ + "/b.png", c = out_ + "/c.png";
  const RunResult run =
      RunRaw({"--script", "-", "--screenshot", "1:" + a, "--screenshot", "4:" + b, "--screenshot", "9:" + c},
             "1 Enter\n3\n");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.err.find("9:" + c + " not taken"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::exists(a) && fs::exists(b));
  EXPECT_FALSE(fs::exists(c));  // the run ended after pass 4
}

// Whatever stands at the name of a data file or of the script, the run ends at once with one
// line naming the file and what is wrong: never a hang, never all the memory. The reader's
// own test holds every kind of file; here each reader of the game meets one, and the limits
// the game sets.
TEST_F(HeadlessRun, FilesThatAreNotWhatTheySeemAreRefusedAtOnce) {
  using Make = std::function<void(const std::string&)>;
  const Make missing = [](const std::string&) {};
  const Make fifo = [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); };
  const Make gigabyte = [](const std::string& p) {
    std::ofstream{p};
    fs::resize_file(p, uintmax_t{1} << 30);  // sparse: no disk taken
  };
  auto link_to = [](const std::string& target) {
    return Make([=](const std::string& p) { fs::create_symlink(target, p); });
  };
  const Make overlong = [](const std::string& p) {
    std::ofstream(p) << "1 Enter\n# fine\n" << std::string(5000, 'x') << "\n";
  };
  struct Case {
    std::string file;  // in the program folder, or beside it for a script
    Make make;
    bool script;
    int status;
    std::string what, why;  // the message is "brawl: <what><path><why>"
  };
  for (const Case& c : std::vector<Case>{
           {"env.ini", fifo, false, 1, "settings file: ", ": is a named pipe"},
           {"env.ini", link_to("/dev/urandom"), false, 1, "settings file: ", ": is a device"},
           {"back1.x", gigabyte, false, 1, "arena mesh: ", ": too large: 1073741824 bytes, more than 32 MiB"},
           {"title.bmp", fifo, false, 1, "bitmap: ", ": is a named pipe"},
           {"ogaa.wav", missing, false, 1, "cannot load wave: ", ": No such file or directory"},
           {"zero", link_to("/dev/zero"), true, 2, "input script ", ", line 1: longer than 4096 characters"},
           {"long.txt", overlong, true, 2, "input script ", ", line 3: longer than 4096 characters"},
           {"pipe", fifo, true, 2,
            "cannot read the input script: ", ": is a named pipe with nothing writing to it"},
           {"absent.txt", missing, true, 2, "cannot read the input script: ", ": No such file or directory"},
       }) {
    const std::string path = (c.script ? out_ : app_) + "/" + c.file;
    const std::string kept = out_ + "/kept";
    if (!c.script) fs::rename(path, kept);
    c.make(path);
    std::vector<std::string> args = {"--headless", "--app-path", app_};
    if (c.script) args.insert(args.end(), {"--script", path});
    const RunResult run = RunBrawl(args, "", 20);
    EXPECT_EQ(run.exit_code, c.status) << path;
    EXPECT_EQ(run.err, "brawl: " + c.what + path + c.why + "\n");
    fs::remove_all(path);
    if (!c.script) fs::rename(kept, path);
  }
}

}  // namespace

}  // namespace brawl
