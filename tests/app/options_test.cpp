#include "app/options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/fatal_error.h"
#include "support/run_brawl.h"

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

// The lines of options_cases.txt of one kind: for "refuse", the line and the words; for "edge",
// the option with its accepted value, and the refused value.
std::vector<std::pair<std::string, std::string>> Cases(const std::string& kind) {
  std::vector<std::pair<std::string, std::string>> cases;
  std::istringstream lines(ReadFile(SourceDir() + "/tests/app/options_cases.txt"));
  for (std::string line; std::getline(lines, line);) {
    line = line.substr(0, line.find("  #"));
    if (line.rfind(kind + " ", 0) != 0) continue;
    line = line.substr(kind.size() + 1);
    const size_t split = kind == "refuse" ? line.find(" => ") : line.rfind(' ');
    cases.emplace_back(line.substr(0, split), line.substr(split + (kind == "refuse" ? 4 : 1)));
  }
  EXPECT_FALSE(cases.empty()) << kind;
  return cases;
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
  const Options host = Parse("--host --headless");
  EXPECT_TRUE(host.host && host.headless);
  EXPECT_EQ(host.port, 47474);
  const Options join = Parse("--join example.org:5000 --net-sim 100,10,5 --input-delay 3");
  EXPECT_EQ(join.join + ":" + std::to_string(join.port), "example.org:5000");
  EXPECT_EQ(join.sim_rtt_ms + join.sim_jitter_ms + join.sim_loss_percent + join.sim_seed, 116.0);
  EXPECT_EQ(join.input_delay, 3);
  EXPECT_TRUE(Parse("--join --headless").join_lan);
  setenv("BRAWL_RENDEZVOUS", "rv.example:5000", 1);
  const Options code = Parse("--join 7kq2-m9xw");
  unsetenv("BRAWL_RENDEZVOUS");
  EXPECT_EQ(code.code + " " + code.rendezvous + ":" + std::to_string(code.rendezvous_port),
            "7KQ2-M9XW rv.example:5000");
}

TEST(Options, BadLinesAreRefusedWithAMessageNamingTheOption) {
  unsetenv("BRAWL_RENDEZVOUS");  // a code needs a server named on the line
  for (const auto& [line, named] : Cases("refuse")) {
    const std::string message = Refusal(line);
    EXPECT_NE(message.find(named), std::string::npos) << line << " gave: " << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << line;
  }
}

TEST(Options, HelpListsEveryOptionAndVersionSaysWhichBuild) {
  const std::string help = Parse("--help").answer;
  EXPECT_EQ(Parse("-h").answer, help);
  for (const char* option :
       {"--help",           "--version",  "--windowed", "--app-path",   "--config-dir",
        "--write-controls", "--headless", "--hires",    "--show-fps",   "--joysticks",
        "--joystick",       "--script",   "--frames",   "--dump",       "--screenshot",
        "--clock-start",    "--frame-ms", "--host",     "--join",       "--input-delay",
        "--net-sim",        "--record",   "--replay",   "--rendezvous", "--no-port-mapping"}) {
    const size_t at = help.find(std::string(option) + " ");
    ASSERT_NE(at, std::string::npos) << option;
    EXPECT_TRUE(help[at - 1] == ' ' || help[at - 1] == ',') << option;
  }
  EXPECT_EQ(Parse("--headless --version").answer.rfind("brawl 1.", 0), 0u);
}

TEST(Options, EveryRangeAcceptsItsLastValueAndRefusesTheFirstBeyond) {
  for (const auto& [option_and_accepted, refused] : Cases("edge")) {
    const std::string option = option_and_accepted.substr(0, option_and_accepted.find(' '));
    const std::string accepted = option_and_accepted.substr(option.size() + 1);
    // Both joystick boxes can be ticked only with two joysticks attached; the delay is online's.
    const std::string line = std::string("--headless ") + (option == "--joystick" ? "--joysticks 2 " : "") +
                             (option == "--input-delay" ? "--host " : "") + option + " ";
    EXPECT_EQ(Refusal(line + accepted), "") << option << " " << accepted;
    EXPECT_NE(Refusal(line + refused).find(option), std::string::npos) << option << " " << refused;
  }
  EXPECT_EQ(Parse("--headless --frames 9223372036854775807").frames, INT64_MAX);
  EXPECT_EQ(Parse("--headless --screenshot 0005:a.png").screenshots[0].first, 5);
}

}  // namespace

}  // namespace brawl
