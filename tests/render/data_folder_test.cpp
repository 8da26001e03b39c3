// The game's data folder and the player's files spoiled one way at a time
// (tests/render/spoiled_data.tsv): whatever stands at the name of a file, the launch stops at
// once with one line naming it and what is wrong, exit status 1, before the dump's first line:
// never a hang, never all the memory.
// Files are read in the game's order, so the first missing one is the one named.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/data_files.h"
#include "support/run_brawl.h"

namespace brawl {
namespace {

using Row = std::vector<std::string>;

class DataFolder : public ::testing::TestWithParam<Row> {};

TEST_P(DataFolder, StopsTheLaunchWithOneLine) {
  const std::string folder = CopyOfDataFolder();
  std::istringstream files(GetParam()[1]);
  for (std::string file; files >> file;) Spoil(folder + file, GetParam()[2]);
  std::string want = "brawl: " + GetParam()[3];
  for (size_t at; (at = want.find("FOLDER")) != std::string::npos;) want.replace(at, 6, folder);
  const std::string dump = MakeTempDir() + "/dump.jsonl";
  const RunResult run = RunBrawl(
      {"--headless", "--app-path", folder, "--config-dir", folder, "--frames", "5", "--dump", dump}, "", 60);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err.rfind(want, 0), 0u) << run.err;
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ReadFile(dump), "") << "the run wrote a dump line";
  std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(Spoiled, DataFolder, ::testing::ValuesIn(Rows("tests/render/spoiled_data.tsv")),
                         [](const auto& row) { return row.param[0]; });

// Data comes from the program's folder only, as it finds it by itself: broken copies in the
// working folder change nothing.
TEST(DataFolderPictures, StrayFilesInTheWorkingFolderAreNotRead) {
  const std::string work = MakeTempDir();
  for (const char* stray : {"m002.bmp", "floor.bmp", "title.bmp", "back1.x", "env.ini", "fire.wav"})
    std::ofstream(work + "/" + stray) << "stray";
  const RunResult run = RunBrawl({"--headless", "--frames", "5"}, "", 60, work);
  EXPECT_EQ(run.exit_code, 0) << run.err;
}

}  // namespace
}  // namespace brawl
