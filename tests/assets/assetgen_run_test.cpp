#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/data_files.h"
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
  for (const DataFile& file : kDataFiles) {
    const std::string fresh = ReadFile(folder + "/" + file.name);
    EXPECT_EQ(Fnv(fresh), file.fnv) << file.name << " is not the pinned file";
    EXPECT_TRUE(fresh == ReadFile(BuildDir() + "/" + file.name))
        << file.name << " differs from the build's copy";
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
