#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "data_files.h"

namespace brawl {

namespace fs = std::filesystem;

namespace {

const char* const kDataFiles[] = {"m001.bmp",   "m002.bmp",    "bullet01.bmp", "bullet02.bmp", "blood.bmp",
                                  "title.bmp",  "Cursor.bmp",  "lifebar.bmp",  "1pwin.bmp",    "2pwin.bmp",
                                  "back1.x",    "readygo.wav", "fire.wav",     "ogaa.wav",     "title0.wav",
                                  "title1.wav", "title2.wav",  "title3.wav",   "env.ini",      "floor.bmp",
                                  "border.bmp", "kerb.bmp",    "grass.bmp",    "wall.bmp"};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct ToolRun {
  int status;
  std::string err;
};

ToolRun RunAssetgen(const std::string& arguments) {
  const std::string scratch = MakeTempDir();
  const std::string command =
      BuildDir() + "/tools/assetgen/assetgen " + arguments + " >/dev/null 2>" + scratch + "/err";
  const int status = std::system(command.c_str());
  ToolRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(scratch + "/err")};
  fs::remove_all(scratch);
  return run;
}

TEST(AssetgenRun, WritesTheSameBytesOnEveryRun) {
  const std::string folder = MakeTempDir();
  ASSERT_EQ(RunAssetgen(folder).status, 0);
  for (const char* name : kDataFiles) {
    const std::string fresh = Slurp(folder + "/" + name);
    EXPECT_FALSE(fresh.empty()) << name;
    EXPECT_TRUE(fresh == Slurp(DataFile(name))) << name << " differs from the build's copy";
  }
  fs::remove_all(folder);
}

TEST(AssetgenRun, RefusesABadCommandLineOrFolderInOneLine) {
  const ToolRun usage = RunAssetgen("");
  EXPECT_EQ(usage.status, 2);
  EXPECT_NE(usage.err.find("usage"), std::string::npos);

  const std::string missing = MakeTempDir() + "/no-such-folder";
  const ToolRun bad = RunAssetgen(missing);
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err.rfind("assetgen: ", 0), 0u) << bad.err;
  EXPECT_NE(bad.err.find(missing), std::string::npos) << bad.err;
  EXPECT_EQ(bad.err.find('\n'), bad.err.size() - 1) << bad.err;
}

// The game itself loads every file at the launch and plays the sounds of a match start
// and a shot.
TEST(AssetgenRun, TheGameLoadsTheDataAndPlaysAMatch) {
  const auto lines = RunHeadless("1 Enter\n20 Num3\n");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back()["GameMode"], 1);
  std::string sounds;
  for (const auto& line : lines)
    for (const auto& sound : line["Sounds"]) sounds += sound.get<std::string>() + " ";
  EXPECT_NE(sounds.find("readygo.wav"), std::string::npos) << sounds;
  EXPECT_NE(sounds.find("fire.wav"), std::string::npos) << sounds;
}

}  // namespace

}  // namespace brawl
