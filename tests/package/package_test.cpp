// The Debian package as a packager makes it with cpack: the same bytes from two builds of one
// commit, no error from lintian, the files where Debian places them, and the packaged game
// finding its data from there (stray data files in the working folder are the data folder
// test's).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_brawl.h"

namespace brawl {
namespace {

namespace fs = std::filesystem;

// The release date, as a packager's build would set it.
constexpr char kEpoch[] = "1796644800";

// A package made from the build folder into `folder`; its path, or "" when cpack failed.
std::string MakePackage(const std::string& folder) {
  const RunResult made = RunShell("cd '" + BuildDir() + "' && SOURCE_DATE_EPOCH=" + kEpoch +
                                  " DEBFULLNAME='Package Test' DEBEMAIL=package-test@billboard-brawl.test"
                                  " cpack -G DEB -B '" +
                                  folder + "'");
  EXPECT_EQ(made.exit_code, 0) << made.out << made.err;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".deb") return entry.path().string();
  return "";
}

class Package : public ::testing::Test {
 protected:
  void TearDown() override { fs::remove_all(folder_); }
  std::string folder_ = MakeTempDir();
};

TEST_F(Package, TwoBuildsAreTheSameBytesPlacedAsDebianPlacesThemAndLintianFindsNoError) {
  const std::string first = MakePackage(folder_ + "/first");
  const std::string second = MakePackage(folder_ + "/second");
  ASSERT_NE(first, "");
  ASSERT_NE(second, "");
  EXPECT_TRUE(ReadFile(first) == ReadFile(second)) << "cmp '" << first << "' '" << second << "'";
  const std::string root = folder_ + "/root";
  ASSERT_EQ(RunShell("dpkg-deb -x '" + first + "' '" + root + "'").exit_code, 0);
  EXPECT_TRUE(fs::is_regular_file(root + "/usr/games/brawl"));
  EXPECT_FALSE(fs::exists(root + "/usr/bin"));
  // The rest of what it installs is the install test's.
  EXPECT_TRUE(fs::is_regular_file(root + "/usr/share/doc/billboard-brawl/changelog.gz"));
  const RunResult changelog =
      RunShell("dpkg-parsechangelog -l '" + root + "/usr/share/doc/billboard-brawl/changelog.gz' -S Version");
  EXPECT_EQ(changelog.out, RunShell("dpkg-deb -f '" + first + "' Version").out) << changelog.err;
  const RunResult control = RunShell("dpkg-deb -f '" + first + "' Section Maintainer Depends");
  for (const char* field :
       {"Section: games\n", "Maintainer: Package Test <package-test@billboard-brawl.test>\n", "libsdl2-2.0-0",
        "fonts-ipafont-gothic"})
    EXPECT_NE(control.out.find(field), std::string::npos) << control.out;
  // From /usr/games the program finds its data in /usr/share by itself.
  const RunResult packaged = RunShell("cd / && '" + root + "/usr/games/brawl' --headless --frames 2");
  EXPECT_EQ(packaged.exit_code, 0) << packaged.err;

  if (RunShell("command -v lintian").exit_code != 0) GTEST_SKIP() << "lintian is not installed";
  const RunResult lintian = RunShell("lintian --no-cfg --pedantic -I '" + first + "'");
  // Every tag on its own line: errors fail, the rest are shown.
  EXPECT_EQ(lintian.out.find("E: "), std::string::npos) << lintian.out;
  EXPECT_LE(lintian.exit_code, 1) << lintian.err;
  std::cout << lintian.out;
}

}  // namespace
}  // namespace brawl
