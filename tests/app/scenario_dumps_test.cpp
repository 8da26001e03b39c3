// The committed scripted runs: each script under tests/scenarios/ played headless must give
// its committed dump, line by line, field by field. They pin the rules to the bit in both
// modes, at both sizes, with joysticks, on a stalled clock and at fast and slow frame rates;
// stepped again as a rollback does, and recorded and played back, they must give it too. A
// run that differs names the first pass and field that do.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_brawl.h"

namespace brawl {

namespace {

using nlohmann::json;

std::string Scenario(const std::string& name, const char* ext) {
  return SourceDir() + "/tests/scenarios/" + name + ext;
}

// The options of a script stand on its first line: "# options: --hires ...".
std::vector<std::string> ScriptOptions(const std::string& script) {
  std::ifstream in(script);
  std::string line;
  std::getline(in, line);
  std::istringstream words(line.substr(line.find(':') + 1));
  std::vector<std::string> options;
  for (std::string word; words >> word;) options.push_back(word);
  return options;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The runs are tests/app/scenario_runs.tsv.
class ScenarioDumpTest : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(ScenarioDumpTest, GivesTheCommittedDump) {
  const std::string &name = GetParam()[0], &how = GetParam()[1];
  const std::string script = Scenario(name, ".txt");
  const std::string dir = MakeTempDir();
  std::string dump = dir + "/dump.jsonl";
  std::vector<std::string> args = {"--headless", "--app-path", BuildDir(), "--script",
                                   script,       "--dump",     dump};
  for (const std::string& option : ScriptOptions(script)) args.push_back(option);
  if (how == "replay") args.insert(args.end(), {"--record", dir + "/run.replay"});
  if (how != "0" && how != "replay") args.insert(args.end(), {"--force-rollback", how});
  RunResult run = RunBrawl(args);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  if (how == "replay") {  // the recording, played back, gives the same dump again
    dump = dir + "/replayed.jsonl";
    run = RunBrawl({"--headless", "--app-path", BuildDir(), "--replay", dir + "/run.replay", "--dump", dump});
    ASSERT_EQ(run.exit_code, 0) << run.err;
  }

  const std::vector<std::string> want = Lines(RunShell("xz -dc '" + Scenario(name, ".jsonl.xz") + "'").out);
  const std::vector<std::string> got = Lines(ReadFile(dump));
  ASSERT_FALSE(want.empty());
  for (size_t i = 0; i < want.size() && i < got.size(); ++i) {
    if (want[i] == got[i]) continue;
    const json w = json::parse(want[i]), differences = json::diff(w, json::parse(got[i]));
    FAIL() << name << ": pass " << w["pass"] << " differs first at "
           << (differences.empty() ? "a number's digits" : differences[0]["path"].get<std::string>())
           << "\nwant: " << want[i] << "\ngot:  " << got[i];
  }
  EXPECT_EQ(got.size(), want.size()) << name << ": the run wrote a different number of lines";
}

INSTANTIATE_TEST_SUITE_P(Scripted, ScenarioDumpTest, ::testing::ValuesIn(Rows("tests/app/scenario_runs.tsv")),
                         [](const auto& run) {
                           const std::string& how = run.param[1];
                           return run.param[0] + (how == "0" ? "" : how == "replay" ? "_replayed" : "_rollback" + how);
                         });

}  // namespace

}  // namespace brawl
