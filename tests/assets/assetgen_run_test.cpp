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

uint32_t Fnv(const std::string& bytes) {
  uint32_t h = 2166136261u;
  for (const char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h;
}

TEST(AssetgenRun, WritesThePinnedBytesOnEveryRun) {
  const std::string folder = MakeTempDir();
  ASSERT_EQ(RunAssetgen(folder).exit_code, 0);
  for (const auto& file : Rows("tests/assets/data_files.tsv")) {
    const std::string fresh = ReadFile(folder + "/" + file[0]);
    EXPECT_EQ(Fnv(fresh), std::stoul(file[1], nullptr, 16)) << file[0] << " is not the pinned file";
    EXPECT_TRUE(fresh == ReadFile(BuildDir() + "/" + file[0])) << file[0] << " differs from the build's copy";
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

}  // namespace

}  // namespace brawl
