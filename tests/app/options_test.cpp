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

// The rows of options_cases.txt of one kind, without the kind.
std::vector<std::vector<std::string>> Cases(const std::string& kind) {
  std::vector<std::vector<std::string>> cases;
  for (const auto& row : Rows("tests/app/options_cases.txt"))
    if (row[0] == kind) cases.emplace_back(row.begin() + 1, row.end());
  EXPECT_FALSE(cases.empty()) << kind;
  return cases;
}

// The committed scripted runs pin the defaults and what each option does, and the other runs
// of the binary use --windowed and --config-dir; here the forms no run uses.
TEST(Options, FormsTheScriptedRunsDoNotUse) {
  const Options o = Parse(
      "--headless --joystick 2 --joysticks 2 --screenshot 3:a.png --screenshot 3:dir/b:c.png "
      "--frame-ms 2.5e1 --clock-start 86399.5");
  EXPECT_TRUE(!o.joystick[0] && o.joystick[1]);  // the box follows the count whatever the order
  ASSERT_EQ(o.screenshots.size(), 2u);
  EXPECT_EQ(o.screenshots[0], (std::pair<int64_t, std::string>{3, "a.png"}));
  EXPECT_EQ(o.screenshots[1], (std::pair<int64_t, std::string>{3, "dir/b:c.png"}));
  EXPECT_EQ(o.frame_ms, 25.0);
  EXPECT_EQ(o.clock_start, 86399.5);
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
  for (const auto& c : Cases("refuse")) {
    const std::string message = Refusal(c[0]);
    EXPECT_NE(message.find(c[1]), std::string::npos) << c[0] << " gave: " << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << c[0];
  }
}

TEST(Options, HelpListsEveryOptionAndVersionSaysWhichBuild) {
  const std::string help = Parse("--help").answer;
  EXPECT_EQ(Parse("-h").answer, help);
  for (const auto& c : Cases("help")) {
    const size_t at = help.find(c[0] + " ");
    ASSERT_NE(at, std::string::npos) << c[0];
    EXPECT_TRUE(help[at - 1] == ' ' || help[at - 1] == ',') << c[0];
  }
  EXPECT_EQ(Parse("--headless --version").answer.rfind("brawl 1.", 0), 0u);
}

TEST(Options, EveryRangeAcceptsItsLastValueAndRefusesTheFirstBeyond) {
  for (const auto& c : Cases("edge")) {
    const std::string &option = c[0], &accepted = c[1], &refused = c[2];
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
