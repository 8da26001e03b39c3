#include "platform/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fatal_error.h"

namespace brawl {

namespace {

Options Parse(std::vector<std::string> args) {
  args.insert(args.begin(), "brawl");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return ParseOptions(static_cast<int>(args.size()), argv.data());
}

// The message of the usage error, or "" when the line was accepted.
std::string Refusal(const std::vector<std::string>& args) {
  try {
    Parse(args);
  } catch (const UsageError& e) {
    return e.what();
  }
  return "";
}

TEST(Options, DefaultsAreTheRealGame) {
  const Options o = Parse({});
  EXPECT_FALSE(o.headless);
  EXPECT_FALSE(o.windowed);
  EXPECT_EQ(o.joysticks, 0);
  EXPECT_EQ(o.frames, -1);
  EXPECT_EQ(o.clock_start, 36000.0);
  EXPECT_EQ(o.frame_ms, 1000.0 / 60.0);
}

TEST(Options, EveryHeadlessOptionIsRead) {
  const Options o = Parse({"--headless",
                           "--hires",
                           "--show-fps",
                           "--joystick",
                           "2",
                           "--joysticks",
                           "2",
                           "--joystick",
                           "1",
                           "--script",
                           "-",
                           "--frames",
                           "0",
                           "--dump",
                           "d.jsonl",
                           "--screenshot",
                           "3:a.png",
                           "--screenshot",
                           "3:dir/b:c.png",
                           "--clock-start",
                           "86399.5",
                           "--frame-ms",
                           "2.5e1",
                           "--app-path",
                           "/data"});
  EXPECT_TRUE(o.headless && o.hires && o.show_fps);
  EXPECT_EQ(o.joysticks, 2);
  EXPECT_TRUE(o.joystick[0] && o.joystick[1]);
  EXPECT_EQ(o.script, "-");
  EXPECT_EQ(o.frames, 0);
  EXPECT_EQ(o.dump, "d.jsonl");
  ASSERT_EQ(o.screenshots.size(), 2u);
  EXPECT_EQ(o.screenshots[0], (std::pair<int64_t, std::string>{3, "a.png"}));
  EXPECT_EQ(o.screenshots[1], (std::pair<int64_t, std::string>{3, "dir/b:c.png"}));
  EXPECT_EQ(o.clock_start, 86399.5);
  EXPECT_EQ(o.frame_ms, 25.0);
  EXPECT_EQ(o.app_path, "/data");
}

TEST(Options, RealGameOptions) {
  const Options o = Parse({"--windowed", "--app-path", "x"});
  EXPECT_TRUE(o.windowed);
  EXPECT_FALSE(o.headless);
  EXPECT_EQ(o.app_path, "x");
}

TEST(Options, BadLinesAreRefusedWithAMessageNamingTheOption) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--bogus"}, "--bogus"},
      {{"-h"}, "-h"},
      {{"stray"}, "stray"},
      {{"--headless", "--frames"}, "--frames"},
      {{"--headless", "--frames", "--hires"}, "--frames"},
      {{"--headless", "--frames", "-1"}, "--frames"},
      {{"--headless", "--frames", "1.5"}, "--frames"},
      {{"--headless", "--frames", "+3"}, "--frames"},
      {{"--headless", "--frames", " 3"}, "--frames"},
      {{"--headless", "--frames", "99999999999999999999999"}, "--frames"},
      {{"--headless", "--frames", "1", "--frames", "2"}, "twice"},
      {{"--headless", "--joysticks", "-1"}, "--joysticks"},
      {{"--headless", "--joysticks", "two"}, "--joysticks"},
      {{"--headless", "--joystick", "1"}, "--joystick 1"},
      {{"--headless", "--joysticks", "1", "--joystick", "2"}, "--joystick 2"},
      {{"--headless", "--screenshot", "a.png"}, "--screenshot"},
      {{"--headless", "--screenshot", "3:"}, "--screenshot"},
      {{"--headless", "--screenshot", ":a.png"}, "--screenshot"},
      {{"--headless", "--screenshot", "x:a.png"}, "--screenshot"},
      {{"--headless", "--frame-ms", "-16"}, "--frame-ms"},
      {{"--headless", "--frame-ms", "inf"}, "--frame-ms"},
      {{"--headless", "--frame-ms", "nan"}, "--frame-ms"},
      {{"--headless", "--frame-ms", "1e999"}, "--frame-ms"},
      {{"--headless", "--frame-ms", "16ms"}, "--frame-ms"},
      {{"--headless", "--frame-ms", ""}, "--frame-ms"},
      {{"--headless", "--clock-start", "noon"}, "--clock-start"},
      {{"--headless", "--dump"}, "--dump"},
      {{"--headless", "--script", ""}, "--script"},
      {{"--app-path"}, "--app-path"},
      {{"--headless", "--windowed"}, "--windowed"},
      {{"--config-dir"}, "--config-dir"},
      {{"--write-controls", "--headless"}, "--write-controls"},
  };
  for (const auto& [args, named] : cases) {
    const std::string message = Refusal(args);
    std::string line;
    for (const auto& a : args) line += " '" + a + "'";
    EXPECT_NE(message.find(named), std::string::npos) << line << " gave: " << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << line;
  }
}

TEST(Options, HelpListsEveryOptionAndVersionSaysWhichBuild) {
  const std::string help = Parse({"--help"}).answer;
  for (const char* option :
       {"--help", "--version", "--windowed", "--app-path", "--config-dir", "--write-controls", "--headless",
        "--hires", "--show-fps", "--joysticks", "--joystick", "--script", "--frames", "--dump",
        "--screenshot", "--clock-start", "--frame-ms"}) {
    EXPECT_NE(help.find(std::string("\n  ") + option + " "), std::string::npos) << option;
  }
  EXPECT_EQ(Parse({"--headless", "--version"}).answer.rfind("brawl 1.", 0), 0u);
  EXPECT_EQ(Parse({"--config-dir", "c"}).config_dir, "c");
}

TEST(Options, HeadlessOptionsNeedHeadless) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--hires"},
                                               {"--show-fps"},
                                               {"--joysticks", "1"},
                                               {"--script", "s"},
                                               {"--frames", "3"},
                                               {"--dump", "d"},
                                               {"--screenshot", "1:a.png"},
                                               {"--clock-start", "0"},
                                               {"--frame-ms", "10"}}) {
    const std::string message = Refusal(args);
    EXPECT_NE(message.find(args[0]), std::string::npos) << args[0] << ": " << message;
    EXPECT_NE(message.find("--headless"), std::string::npos) << message;
  }
}

TEST(Options, JoystickBoxFollowsTheAttachedCountWhateverTheOrder) {
  const Options o = Parse({"--headless", "--joystick", "2", "--joysticks", "2"});
  EXPECT_FALSE(o.joystick[0]);
  EXPECT_TRUE(o.joystick[1]);
  EXPECT_EQ(Refusal({"--headless", "--joystick", "2", "--joysticks", "1"}).empty(), false);
}

TEST(Options, EveryRangeAcceptsItsLastValueAndRefusesTheFirstBeyond) {
  struct Edge {
    std::string option, accepted, refused;
  };
  const Edge edges[] = {
      {"--joysticks", "0", "-1"},
      {"--joysticks", "2", "3"},
      {"--joystick", "1", "0"},
      {"--joystick", "2", "3"},
      {"--frames", "0", "-1"},
      {"--frames", "9223372036854775807", "9223372036854775808"},
      {"--screenshot", "1:a.png", "0:a.png"},
      {"--screenshot", "9223372036854775807:a.png", "9223372036854775808:a.png"},
      {"--frame-ms", "4.9406564584124654e-324", "0"},                      // the smallest double above 0
      {"--frame-ms", "1.7976931348623157e308", "1.7976931348623159e308"},  // the largest finite one
      {"--clock-start", "0", "-4.9406564584124654e-324"},
      {"--clock-start", "1.7976931348623157e308", "1.7976931348623159e308"},
  };
  for (const Edge& e : edges) {
    // Both joystick boxes can be ticked only with two joysticks attached.
    std::vector<std::string> line = {"--headless", e.option};
    if (e.option == "--joystick") line = {"--headless", "--joysticks", "2", e.option};
    line.push_back(e.accepted);
    EXPECT_EQ(Refusal(line), "") << e.option << " " << e.accepted;
    line.back() = e.refused;
    EXPECT_NE(Refusal(line).find(e.option), std::string::npos) << e.option << " " << e.refused;
  }
  EXPECT_EQ(Parse({"--headless", "--frames", "9223372036854775807"}).frames, INT64_MAX);
  EXPECT_EQ(Parse({"--headless", "--screenshot", "0005:a.png"}).screenshots[0].first, 5);
}

}  // namespace

}  // namespace brawl
