// The installed game: its layout, its desktop files, and the installed executable finding
// its data from wherever it is started.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/data_files.h"
#include "support/install_tree.h"
#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

namespace {

const std::string kId = "io.github.billboardbrawl.brawl";

class Installed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { prefix_ = new std::string(InstallIntoTempPrefix()); }
  static void TearDownTestSuite() {
    fs::remove_all(*prefix_);
    delete prefix_;
  }
  static std::string Prefix() { return *prefix_; }

  static std::string* prefix_;
};
std::string* Installed::prefix_ = nullptr;

TEST_F(Installed, LaysOutTheGameAsADesktopExpects) {
  std::vector<std::string> files = {"bin/brawl",
                                    "share/billboard-brawl/env.ini",
                                    "share/billboard-brawl/back1.x",
                                    "share/billboard-brawl/m001.bmp",
                                    "share/billboard-brawl/title3.wav",
                                    "share/applications/" + kId + ".desktop",
                                    "share/metainfo/" + kId + ".metainfo.xml",
                                    "share/man/man6/brawl.6",
                                    "sbin/brawl-rendezvous",
                                    "share/man/man8/brawl-rendezvous.8",
                                    "lib/systemd/system/brawl-rendezvous.service"};
  for (int size : {16, 32, 48, 64, 128, 256}) {
    files.push_back("share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/" +
                    kId + ".png");
  }
  for (const std::string& file : files) EXPECT_TRUE(fs::is_regular_file(Prefix() + "/" + file)) << file;
  EXPECT_EQ(
      std::distance(fs::directory_iterator(Prefix() + "/share/billboard-brawl"), fs::directory_iterator()),
      std::ssize(kDataFiles));
}

TEST_F(Installed, DesktopEntryAndMetainfoPassTheirValidators) {
  const RunResult desktop =
      RunShell("desktop-file-validate '" + Prefix() + "/share/applications/" + kId + ".desktop'");
  EXPECT_EQ(desktop.exit_code, 0) << desktop.out << desktop.err;
  EXPECT_EQ(desktop.out + desktop.err, "");
  const RunResult meta =
      RunShell("appstreamcli validate --no-net '" + Prefix() + "/share/metainfo/" + kId + ".metainfo.xml'");
  EXPECT_EQ(meta.exit_code, 0) << meta.out << meta.err;
  // Only the warnings reach the log.
  const RunResult man = RunShell("( LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l '" + Prefix() +
                                 "/share/man/man6/brawl.6' >/dev/null )");
  EXPECT_EQ(man.out + man.err, "");
}

// The server's unit as installed passes systemd's checks: no write access, no privileges, its
// own user, a low exposure by systemd's own measure.
TEST_F(Installed, TheServersUnitIsSandboxed) {
  if (RunShell("command -v systemd-analyze").exit_code != 0) {
    GTEST_SKIP() << "systemd-analyze is not installed: the unit is not verified";
  }
  const std::string unit = MakeTempDir() + "/brawl-rendezvous.service";
  ASSERT_EQ(RunShell("sed 's#^ExecStart=[^ ]*#ExecStart=" + Prefix() + "/sbin/brawl-rendezvous#' '" +
                     Prefix() + "/lib/systemd/system/brawl-rendezvous.service' >'" + unit + "'")
                .exit_code,
            0);
  const RunResult verify = RunShell("systemd-analyze verify --man=no '" + unit + "'");
  EXPECT_EQ(verify.exit_code, 0) << verify.err;
  EXPECT_EQ(verify.out + verify.err, "");
  const RunResult security = RunShell("systemd-analyze security --offline=yes --threshold=20 '" + unit + "'");
  EXPECT_EQ(security.exit_code, 0) << security.out;
}

TEST_F(Installed, PlaysFromAnyFolderLikeTheBuiltGame) {
  const std::string elsewhere = MakeTempDir();
  const std::string script = elsewhere + "/script";
  std::ofstream(script) << "1 Enter\n40 Up Num3\n";
  const RunResult run = RunShell("cd '" + elsewhere + "' && '" + Prefix() +
                                 "/bin/brawl' --headless --script script --dump installed.jsonl && '" +
                                 BRAWL_EXE + "' --headless --script script --dump built.jsonl");
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  const std::string installed = ReadFile(elsewhere + "/installed.jsonl");
  EXPECT_FALSE(installed.empty());
  EXPECT_EQ(installed, ReadFile(elsewhere + "/built.jsonl"));
  fs::remove_all(elsewhere);
}

TEST_F(Installed, AMissingDataFileNamesTheInstalledFolder) {
  const std::string data = Prefix() + "/share/billboard-brawl/";
  fs::rename(data + "back1.x", data + "back1.x.away");
  const RunResult run = RunShell("cd / && '" + Prefix() + "/bin/brawl' --headless --frames 1");
  fs::rename(data + "back1.x.away", data + "back1.x");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find(data + "back1.x"), std::string::npos) << run.err;
}

}  // namespace

}  // namespace brawl
