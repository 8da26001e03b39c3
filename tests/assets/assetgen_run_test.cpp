#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

namespace {

RunResult RunAssetgen(const std::string& arguments) {
  return RunShell(BuildDir() + "/tools/assetgen/assetgen " + arguments);
}

const std::pair<const char*, uint32_t> kDataHashes[] = {
    {"env.ini", 0xfb535740u},      {"title.bmp", 0xc8d4b086u},  {"Cursor.bmp", 0xdfd5dc64u},
    {"lifebar.bmp", 0xb4c1af57u},  {"1pwin.bmp", 0x73ff5ba1u},  {"2pwin.bmp", 0x637a6dfau},
    {"m001.bmp", 0xcf9a0a30u},     {"m002.bmp", 0x76a071a5u},   {"bullet01.bmp", 0x63e97351u},
    {"bullet02.bmp", 0x1a92a92du}, {"blood.bmp", 0xd07ed8c4u},  {"back1.x", 0x4b7bb674u},
    {"readygo.wav", 0x9bcd5660u},  {"fire.wav", 0xdeeff944u},   {"ogaa.wav", 0x48403438u},
    {"title0.wav", 0x9bd0aff5u},   {"title1.wav", 0xfaf82149u}, {"title2.wav", 0x8da032e6u},
    {"title3.wav", 0xc078ad11u},   {"floor.bmp", 0xbc797b6bu},  {"border.bmp", 0xe99c8682u},
    {"kerb.bmp", 0x33bfd47bu},     {"grass.bmp", 0x34b67a4eu},  {"wall.bmp", 0x841650cdu},
};

uint32_t Fnv(const std::string& bytes) {
  uint32_t h = 2166136261u;
  for (const char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h;
}

// The data files pinned byte for byte: the golden pictures and the committed scripted runs
// show what they hold, so a change to one is a change to both.
TEST(AssetgenRun, WritesThePinnedBytesOnEveryRun) {
  const std::string folder = MakeTempDir();
  ASSERT_EQ(RunAssetgen(folder).exit_code, 0);
  for (const auto& [name, hash] : kDataHashes) {
    const std::string fresh = ReadFile(folder + "/" + name);
    EXPECT_EQ(Fnv(fresh), hash) << name << " is not the pinned file";
    EXPECT_TRUE(fresh == ReadFile(BuildDir() + "/" + name)) << name << " differs from the build's copy";
  }
  fs::remove_all(folder);
}

TEST(AssetgenRun, RefusesABadCommandLineOrFolderInOneLine) {
  const RunResult usage = RunAssetgen("");
  EXPECT_EQ(usage.exit_code, 2);
  EXPECT_NE(usage.err.find("usage"), std::string::npos);

  const std::string missing = MakeTempDir() + "/no-such-folder";
  const RunResult bad = RunAssetgen(missing);
  EXPECT_EQ(bad.exit_code, 1);
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
