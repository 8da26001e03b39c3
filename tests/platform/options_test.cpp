#include "platform/options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/fatal_error.h"

namespace brawl {

namespace {

// A command line given as one string, split at spaces ("''" stands for an empty word).
Options Parse(const std::string& line) {
  std::vector<std::string> args = {"brawl"};
  std::istringstream words(line);
  for (std::string word; words >> word;) args.push_back(word == "''" ? "" : word);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return ParseOptions(static_cast<int>(args.size()), argv.data());
}

// The message of the usage error, or "" when the line was accepted.
std::string Refusal(const std::string& line) {
  try {
    Parse(line);
  } catch (const UsageError& e) {
    return e.what();
  }
  return "";
}

// The committed scripted runs pin the defaults and what each option does; here the forms
// a run does not use.
TEST(Options, FormsTheScriptedRunsDoNotUse) {
  const Options o = Parse(
      "--headless --joystick 2 --joysticks 2 --screenshot 3:a.png --screenshot 3:dir/b:c.png "
      "--frame-ms 2.5e1 --clock-start 86399.5 --config-dir c");
  EXPECT_TRUE(!o.joystick[0] && o.joystick[1]);  // the box follows the count whatever the order
  ASSERT_EQ(o.screenshots.size(), 2u);
  EXPECT_EQ(o.screenshots[0], (std::pair<int64_t, std::string>{3, "a.png"}));
  EXPECT_EQ(o.screenshots[1], (std::pair<int64_t, std::string>{3, "dir/b:c.png"}));
  EXPECT_EQ(o.frame_ms, 25.0);
  EXPECT_EQ(o.clock_start, 86399.5);
  EXPECT_EQ(o.config_dir, "c");
  EXPECT_TRUE(Parse("--windowed").windowed);
}

TEST(Options, BadLinesAreRefusedWithAMessageNamingTheOption) {
  const std::pair<const char*, const char*> cases[] = {
      {"--bogus", "--bogus"},
      {"-h", "-h"},
      {"stray", "stray"},
      {"--headless --frames", "--frames"},
      {"--headless --frames --hires", "--frames"},
      {"--headless --frames 1.5", "--frames"},
      {"--headless --frames +3", "--frames"},
      {"--headless --frames ten", "--frames"},
      {"--headless --frames 99999999999999999999999", "--frames"},
      {"--headless --frames 1 --frames 2", "twice"},
      {"--headless --joysticks two", "--joysticks"},
      {"--headless --joystick 1", "--joystick 1"},
      {"--headless --joysticks 1 --joystick 2", "--joystick 2"},
      {"--headless --joystick 2 --joysticks 1", "--joystick 2"},
      {"--headless --screenshot a.png", "--screenshot"},
      {"--headless --screenshot 3:", "--screenshot"},
      {"--headless --screenshot :a.png", "--screenshot"},
      {"--headless --screenshot x:a.png", "--screenshot"},
      {"--headless --frame-ms -16", "--frame-ms"},
      {"--headless --frame-ms inf", "--frame-ms"},
      {"--headless --frame-ms nan", "--frame-ms"},
      {"--headless --frame-ms 16ms", "--frame-ms"},
      {"--headless --frame-ms ''", "--frame-ms"},
      {"--headless --clock-start noon", "--clock-start"},
      {"--headless --dump", "--dump"},
      {"--headless --script ''", "--script"},
      {"--app-path", "--app-path"},
      {"--headless --windowed", "--windowed"},
      {"--config-dir", "--config-dir"},
      {"--write-controls --headless", "--write-controls"},
      // Headless options need --headless.
      {"--hires", "--hires needs --headless"},
      {"--show-fps", "--show-fps needs --headless"},
      {"--joysticks 1", "--joysticks needs --headless"},
      {"--script s", "--script needs --headless"},
      {"--frames 3", "--frames needs --headless"},
      {"--dump d", "--dump needs --headless"},
      {"--screenshot 1:a.png", "--screenshot needs --headless"},
      {"--clock-start 0", "--clock-start needs --headless"},
      {"--frame-ms 10", "--frame-ms needs --headless"},
  };
  for (const auto& [line, named] : cases) {
    const std::string message = Refusal(line);
    EXPECT_NE(message.find(named), std::string::npos) << line << " gave: " << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << line;
  }
}

TEST(Options, HelpListsEveryOptionAndVersionSaysWhichBuild) {
  const std::string help = Parse("--help").answer;
  for (const char* option :
       {"--help", "--version", "--windowed", "--app-path", "--config-dir", "--write-controls", "--headless",
        "--hires", "--show-fps", "--joysticks", "--joystick", "--script", "--frames", "--dump",
        "--screenshot", "--clock-start", "--frame-ms"}) {
    EXPECT_NE(help.find(std::string("\n  ") + option + " "), std::string::npos) << option;
  }
  EXPECT_EQ(Parse("--headless --version").answer.rfind("brawl 1.", 0), 0u);
}

TEST(Options, EveryRangeAcceptsItsLastValueAndRefusesTheFirstBeyond) {
  const char* const edges[][3] = {
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
  for (const auto& [option, accepted, refused] : edges) {
    // Both joystick boxes can be ticked only with two joysticks attached.
    const std::string line = std::string("--headless ") +
                             (std::string(option) == "--joystick" ? "--joysticks 2 " : "") + option + " ";
    EXPECT_EQ(Refusal(line + accepted), "") << option << " " << accepted;
    EXPECT_NE(Refusal(line + refused).find(option), std::string::npos) << option << " " << refused;
  }
  EXPECT_EQ(Parse("--headless --frames 9223372036854775807").frames, INT64_MAX);
  EXPECT_EQ(Parse("--headless --screenshot 0005:a.png").screenshots[0].first, 5);
}

}  // namespace

}  // namespace brawl
