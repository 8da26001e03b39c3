// The installed game: its layout, its desktop files, and the installed executable finding
// its data from wherever it is started.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/data_files.h"
#include "support/install_tree.h"
#include "support/run_brawl.h"

namespace brawl {

namespace fs = std::filesystem;

namespace {

const std::string kId = "io.github.billboardbrawl.brawl";

struct Shell {
  int status;
  std::string out;
};

// Runs a shell command line, its output (both streams) kept.
Shell RunShell(const std::string& command) {
  const std::string log = MakeTempDir() + "/log";
  const int status = std::system((command + " >" + log + " 2>&1").c_str());
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  fs::remove_all(fs::path(log).parent_path());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text.str()};
}

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
                                    "share/man/man6/brawl.6"};
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
  const Shell desktop =
      RunShell("desktop-file-validate '" + Prefix() + "/share/applications/" + kId + ".desktop'");
  EXPECT_EQ(desktop.status, 0) << desktop.out;
  EXPECT_EQ(desktop.out, "");
  const Shell meta =
      RunShell("appstreamcli validate --no-net '" + Prefix() + "/share/metainfo/" + kId + ".metainfo.xml'");
  EXPECT_EQ(meta.status, 0) << meta.out;
  // Only the warnings reach the log.
  const Shell man = RunShell("( LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l '" + Prefix() +
                             "/share/man/man6/brawl.6' >/dev/null )");
  EXPECT_EQ(man.out, "");
}

TEST_F(Installed, PlaysFromAnyFolderLikeTheBuiltGame) {
  const std::string elsewhere = MakeTempDir();
  const std::string script = elsewhere + "/script";
  std::ofstream(script) << "1 Enter\n40 Up Num3\n";
  const Shell run = RunShell("cd '" + elsewhere + "' && '" + Prefix() +
                             "/bin/brawl' --headless --script script --dump installed.jsonl && '" +
                             BRAWL_EXE + "' --headless --script script --dump built.jsonl");
  ASSERT_EQ(run.status, 0) << run.out;
  std::ifstream installed(elsewhere + "/installed.jsonl"), built(elsewhere + "/built.jsonl");
  std::stringstream a, b;
  a << installed.rdbuf();
  b << built.rdbuf();
  EXPECT_FALSE(a.str().empty());
  EXPECT_EQ(a.str(), b.str());
  fs::remove_all(elsewhere);
}

TEST_F(Installed, AMissingDataFileNamesTheInstalledFolder) {
  const std::string data = Prefix() + "/share/billboard-brawl/";
  fs::rename(data + "back1.x", data + "back1.x.away");
  const Shell run = RunShell("cd / && '" + Prefix() + "/bin/brawl' --headless --frames 1");
  fs::rename(data + "back1.x.away", data + "back1.x");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find(data + "back1.x"), std::string::npos) << run.out;
}

}  // namespace

}  // namespace brawl
