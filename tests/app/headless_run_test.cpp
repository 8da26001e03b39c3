// The headless mode through the real binary: options, script, dump, clock, sounds, screenshots.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

namespace {

using Json = nlohmann::json;

// Wave lengths of the test folder, in milliseconds (mono 16-bit, 22050 Hz).
constexpr int kFireMs = 100;
constexpr int kReadyGoMs = 300;
constexpr int kTitleMs = 50;
constexpr int kReadyGoWait = 1000;

void WriteWave(const std::string& path, uint32_t frames) {
  std::vector<char> b;
  auto put = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<char>(v >> (8 * i)));
  };
  auto id = [&](const char* s) {
    for (int i = 0; i < 4; ++i) b.push_back(s[i]);
  };
  id("RIFF");
  put(36 + 2 * frames, 4);
  id("WAVE");
  id("fmt ");
  put(16, 4);
  put(1, 2);
  put(1, 2);
  put(22050, 4);
  put(44100, 4);
  put(2, 2);
  put(16, 2);
  id("data");
  put(2 * frames, 4);
  b.resize(b.size() + 2 * frames, 0);
  std::ofstream(path, std::ios::binary).write(b.data(), static_cast<std::streamsize>(b.size()));
}

// A program folder with the built pictures and mesh, our own env.ini and short waves of
// known lengths.
class HeadlessRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"back1.x", "title.bmp", "Cursor.bmp", "lifebar.bmp", "1pwin.bmp", "2pwin.bmp",
                             "m001.bmp", "m002.bmp", "bullet01.bmp", "bullet02.bmp", "blood.bmp", "floor.bmp",
                             "border.bmp", "kerb.bmp", "grass.bmp", "wall.bmp"}) {
      fs::copy_file(BuildDir() + "/" + name, app_ + "/" + name);
    }
    std::ofstream(app_ + "/env.ini") << kReadyGoWait << ",wait\n0,hires\n0,fps\n";
    WriteWave(app_ + "/fire.wav", 22050 * kFireMs / 1000);
    WriteWave(app_ + "/readygo.wav", 22050 * kReadyGoMs / 1000);
    WriteWave(app_ + "/ogaa.wav", 22050 / 10);
    for (int n = 0; n < 4; ++n)
      WriteWave(app_ + "/title" + std::to_string(n) + ".wav", 22050 * kTitleMs / 1000);
  }
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

  std::string app_ = MakeTempDir();
  std::string out_ = MakeTempDir();
};

std::vector<std::string> Keys(const nlohmann::ordered_json& object) {
  std::vector<std::string> keys;
  for (const auto& item : object.items()) keys.push_back(item.key());
  return keys;
}

TEST_F(HeadlessRun, OneWellFormedLinePerPassWithEveryFieldInOrder) {
  const std::string dump = out_ + "/dump.jsonl";
  const RunResult run = RunRaw({"--script", "-", "--dump", dump}, "1 Enter\n5 Up Num3\n");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  std::ifstream in(dump);
  int64_t pass = 0;
  for (std::string line; std::getline(in, line); ++pass) {
    EXPECT_EQ(line.find(' '), std::string::npos);
    const auto j = nlohmann::ordered_json::parse(line);
    EXPECT_EQ(Keys(j),
              (std::vector<std::string>{"pass", "GameMode", "Winner", "TitleChoice", "Fps", "SpeedFactor",
                                        "SpeedLock", "FpsFrameCount", "Heading", "Fighter", "Bullet", "Blood",
                                        "Camera", "SoundBusy", "Sounds"}));
    EXPECT_EQ(j["pass"], pass);
    ASSERT_EQ(j["Fighter"].size(), 2u);
    EXPECT_EQ(Keys(j["Fighter"][1]),
              (std::vector<std::string>{"Life", "X", "Z", "Cooldown", "DirX", "DirY", "DirZ"}));
    ASSERT_EQ(j["Bullet"].size(), 2u);
    ASSERT_EQ(j["Blood"].size(), 2u);
    for (int p = 0; p < 2; ++p) {
      ASSERT_EQ(j["Bullet"][p].size(), 10u);
      ASSERT_EQ(j["Blood"][p].size(), 10u);
      EXPECT_EQ(Keys(j["Bullet"][p][9]),
                (std::vector<std::string>{"Active", "X", "Y", "Z", "DirX", "DirY", "DirZ"}));
      EXPECT_EQ(Keys(j["Blood"][p][0]), (std::vector<std::string>{"Active", "X", "Y", "Z", "T", "VX", "VZ"}));
    }
    EXPECT_EQ(j["Heading"].size(), 2u);
    EXPECT_EQ(j["Camera"].size(), 2u);
    EXPECT_EQ(j["Camera"][0].size(), 3u);
    EXPECT_EQ(j["SoundBusy"].size(), 8u);
    EXPECT_TRUE(j["Sounds"].is_array());
  }
  EXPECT_EQ(pass, 7);
}

TEST_F(HeadlessRun, LineZeroIsTheLaunchAndSoundsAreListedOncePerPass) {
  const std::vector<Json> lines = Run("1 Enter\n2 Num3\n");
  ASSERT_EQ(lines.size(), 4u);
  // After the launch: the title, Fps 60, the reset's title sound.
  EXPECT_EQ(lines[0]["GameMode"], 0);
  EXPECT_EQ(lines[0]["Fps"], 60);
  ASSERT_EQ(lines[0]["Sounds"].size(), 1u);
  EXPECT_TRUE(lines[0]["Sounds"][0].get<std::string>().starts_with("title"));
  EXPECT_EQ(lines[1]["GameMode"], 1);
  EXPECT_EQ(lines[1]["Sounds"], Json::parse(R"(["readygo.wav"])"));
  EXPECT_EQ(lines[2]["Sounds"], Json::parse(R"(["fire.wav"])"));
  EXPECT_EQ(lines[3]["Sounds"], Json::array());  // still cooling down
}

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
  std::ifstream in(dump);
  std::string line, last;
  int lines = 0;
  while (std::getline(in, line)) {
    last = line;
    ++lines;
  }
  EXPECT_EQ(lines, 601);
  EXPECT_EQ(Json::parse(last)["pass"], 600);
  EXPECT_EQ(Json::parse(last)["GameMode"], 0);  // nobody pressed Enter
}

TEST_F(HeadlessRun, ScriptWithNoStepRunsNoPass) {
  EXPECT_EQ(Run("").size(), 1u);
  EXPECT_EQ(Run("# only a comment\n\n   \n").size(), 1u);
  EXPECT_EQ(Run("# still nothing\n", {"--frames", "20"}).size(), 1u);
}

TEST_F(HeadlessRun, BadScriptLineIsAUsageErrorAndWritesNoDump) {
  const std::string dump = out_ + "/dump.jsonl";
  for (const auto& [script, line] : std::vector<std::pair<std::string, std::string>>{
           {"1 Enter\n# two\n\n2 Fire\n", "line 4"},
           {"1 enter\n", "line 1"},
           {"1 Enter\n0 Up\n", "line 2"},
           {"\n\n1000000001 Up\n", "line 3"},
           {"1 Enter\n1 J1.B0\n", "line 2"},  // no joystick attached
       }) {
    const RunResult run = RunRaw({"--script", "-", "--dump", dump}, script);
    EXPECT_EQ(run.exit_code, 2) << script;
    EXPECT_NE(run.err.find(line), std::string::npos) << run.err;
    EXPECT_TRUE(run.err.starts_with("brawl: ")) << run.err;
    EXPECT_FALSE(fs::exists(dump)) << script;
  }
}

TEST_F(HeadlessRun, DumpToStandardOutput) {
  const RunResult run = RunRaw({"--script", "-", "--dump", "-"}, "1 Enter\n2\n");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  std::istringstream in(run.out);
  int64_t pass = 0;
  for (std::string line; std::getline(in, line); ++pass) EXPECT_EQ(Json::parse(line)["pass"], pass);
  EXPECT_EQ(pass, 4);
}

TEST_F(HeadlessRun, UnwritableDumpIsFatalAndNamed) {
  const RunResult run = RunRaw({"--frames", "1", "--dump", out_ + "/no/such/folder/d.jsonl"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("no/such/folder/d.jsonl"), std::string::npos) << run.err;
}

TEST_F(HeadlessRun, MissingArenaTextureStopsTheLaunchInOneLine) {
  std::ifstream in(app_ + "/back1.x");
  std::stringstream mesh;
  mesh << in.rdbuf();
  std::string text = mesh.str();
  for (size_t at; (at = text.find("grass.bmp")) != std::string::npos;) text.replace(at, 9, "nosuch.bmp");
  std::ofstream(app_ + "/back1.x") << text;
  const RunResult run = RunRaw({"--script", "-", "--dump", out_ + "/d.jsonl"}, "1 Enter\n5\n");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "brawl: arena texture: " + app_ + "/nosuch.bmp: No such file or directory (named by " +
                         app_ + "/back1.x)\n");
}

TEST_F(HeadlessRun, ScriptFromAFile) {
  const std::string script = out_ + "/walk.txt";
  const std::string dump = out_ + "/dump.jsonl";
  std::ofstream(script) << "1 Enter\n2\n";
  const RunResult run = RunRaw({"--script", script, "--dump", dump});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  std::ifstream in(dump);
  int lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  EXPECT_EQ(lines, 4);
}

TEST_F(HeadlessRun, BadOptionsAreUsageErrors) {
  for (const std::vector<std::string>& args : {
           std::vector<std::string>{"--frames", "ten"},
           {"--joystick", "1"},
           {"--joysticks", "3"},
           {"--frame-ms", "0"},
           {"--screenshot", "0:x.png"},
           {"--no-such-option"},
       }) {
    const RunResult run = RunRaw(args);
    EXPECT_EQ(run.exit_code, 2) << args[0];
    EXPECT_NE(run.err.find("brawl: " + args[0]), std::string::npos) << run.err;
  }
  const RunResult not_headless = RunBrawl({"--frames", "3"});
  EXPECT_EQ(not_headless.exit_code, 2);
  EXPECT_NE(not_headless.err.find("--headless"), std::string::npos) << not_headless.err;
}

TEST_F(HeadlessRun, EscapeEndsTheRunWithoutALineForItsPass) {
  const std::vector<Json> lines = Run("1 Enter\n3\n1 Escape\n5\n");
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines.back()["pass"], 4);
}

// Fps and SpeedFactor as the game computes them from the virtual clock's float readings.
TEST_F(HeadlessRun, FrameTimingFollowsTheVirtualClock) {
  const double frame_ms = 20;
  const double start = 36000;
  const std::vector<Json> lines = Run("1 Enter\n130\n", {"--frame-ms", "20"});
  ASSERT_EQ(lines.size(), 132u);
  // Match frames count from pass 1; the 61st measures nothing yet and sets SpeedFactor 1.
  EXPECT_EQ(lines[60]["SpeedFactor"], 0);
  EXPECT_EQ(lines[60]["FpsFrameCount"], 60);
  EXPECT_EQ(lines[61]["Fps"], 60);
  EXPECT_EQ(lines[61]["SpeedFactor"], 1);
  EXPECT_EQ(lines[61]["FpsFrameCount"], 1);
  // The readings of passes 61 and 121: every flip before them (the start sequence's
  // included) and the start cue's pause.
  auto reading = [&](int pass) {
    const double elapsed = frame_ms * pass + kReadyGoWait;  // pass - 1 main flips + 1 start flip
    return static_cast<float>(start + elapsed / 1000.0);
  };
  const float fps = static_cast<float>(60.0 / (double(reading(121)) - double(reading(61))));
  EXPECT_NEAR(fps, 50.0f, 0.5f);
  EXPECT_EQ(lines[120]["Fps"], 60);
  EXPECT_EQ(lines[121]["Fps"].get<float>(), fps);
  EXPECT_EQ(lines[121]["SpeedFactor"].get<float>(), static_cast<float>(60.0 / double(fps)));
}

TEST_F(HeadlessRun, ClockStartMovesTheReadings) {
  const std::vector<Json> lines = Run("1 Enter\n125\n", {"--frame-ms", "25", "--clock-start", "0"});
  ASSERT_EQ(lines.size(), 127u);
  // Near zero the float readings are fine enough that 60 flips of 25 ms read as 1.5 s.
  EXPECT_EQ(lines[121]["Fps"].get<float>(),
            static_cast<float>(60.0 / (double(float(4.025)) - double(float(2.525)))));
  EXPECT_NEAR(lines[121]["Fps"].get<float>(), 40.0f, 1e-3f);
}

TEST_F(HeadlessRun, SoundIsBusyExactlyAsLongAsItsWave) {
  // The launch's title sound is still playing after the launch: no time has passed.
  // By pass 2 the start cue's pause has outlasted it and the cue; the shot of pass 3 takes
  // slot 0, and at 20 ms a flip its 100 ms are over at pass 8's housekeeping, not before.
  const std::vector<Json> lines = Run("1 Enter\n1\n1 Num3\n10\n", {"--frame-ms", "20"});
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[0]["SoundBusy"][0], -1);
  EXPECT_EQ(lines[2]["SoundBusy"], Json::parse("[0,0,0,0,0,0,0,0]"));
  ASSERT_EQ(lines[3]["Sounds"], Json::parse(R"(["fire.wav"])"));
  for (int pass = 3; pass < 3 + kFireMs / 20; ++pass) EXPECT_EQ(lines[pass]["SoundBusy"][0], -1) << pass;
  EXPECT_EQ(lines[3 + kFireMs / 20]["SoundBusy"][0], 0);
}

TEST_F(HeadlessRun, RunsAreReproducible) {
  const std::string script = "1 Enter\n30 Up Num3 Num2\n30 Down Num1\n";
  EXPECT_EQ(Run(script), Run(script));
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

bool IsPngOfWidth(const std::string& path, uint32_t width) {
  std::ifstream in(path, std::ios::binary);
  unsigned char head[24] = {};
  in.read(reinterpret_cast<char*>(head), sizeof head);
  const unsigned char magic[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  const uint32_t w = uint32_t{head[16]} << 24 | uint32_t{head[17]} << 16 | uint32_t{head[18]} << 8 | head[19];
  return in && std::equal(magic, magic + 8, head) && w == width;
}

TEST_F(HeadlessRun, ScreenshotsOfTheAskedPasses) {
  const std::string a = out_ + "/a.png", b = out_ + "/b.png", c = out_ + "/c.png";
  const RunResult run =
      RunRaw({"--script", "-", "--screenshot", "1:" + a, "--screenshot", "4:" + b, "--screenshot", "9:" + c},
             "1 Enter\n3\n");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.err.find("9:" + c + " not taken"), std::string::npos) << run.err;
  EXPECT_TRUE(IsPngOfWidth(a, 320));
  EXPECT_TRUE(IsPngOfWidth(b, 320));
  EXPECT_FALSE(fs::exists(c));  // the run ended after pass 4
  const std::string hires = out_ + "/hires.png";
  Run("2\n", {"--hires", "--screenshot", "2:" + hires});
  EXPECT_TRUE(IsPngOfWidth(hires, 640));
}

// Whatever stands at the name of a data file or of the script, the run ends at once with one
// line naming the file and what is wrong: never a hang, never all the memory.
TEST_F(HeadlessRun, FilesThatAreNotWhatTheySeemAreRefusedAtOnce) {
  using Make = std::function<void(const std::string&)>;
  const Make missing = [](const std::string&) {};
  const Make folder = [](const std::string& p) { fs::create_directory(p); };
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
           {"env.ini", missing, false, 1, "settings file: ", ": cannot be opened: No such file or directory"},
           {"env.ini", folder, false, 1, "settings file: ", ": is a directory"},
           {"env.ini", fifo, false, 1, "settings file: ", ": is a named pipe"},
           {"env.ini", link_to("/dev/urandom"), false, 1, "settings file: ", ": is a device"},
           {"back1.x", folder, false, 1, "arena mesh: ", ": is a directory"},
           {"back1.x", link_to("/dev/zero"), false, 1, "arena mesh: ", ": is a device"},
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
