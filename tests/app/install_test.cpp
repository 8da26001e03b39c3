// The installed game: its layout, its desktop files, and the installed executable finding
// its data and its translations from wherever it is started, in every layout a packager may
// choose.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

// The files are tests/app/installed_files.txt; the data folder holds the data and nothing else.
TEST_F(Installed, LaysOutTheGameAsADesktopExpects) {
  for (const auto& row : Rows("tests/app/installed_files.txt"))
    EXPECT_TRUE(fs::is_regular_file(Prefix() + "/" + row[0])) << row[0];
  EXPECT_EQ(
      std::distance(fs::directory_iterator(Prefix() + "/share/billboard-brawl"), fs::directory_iterator()),
      std::ssize(Rows("tests/assets/data_files.tsv")));
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
                                 "/share/man/man6/brawl.6.gz' >/dev/null )");
  EXPECT_EQ(man.out + man.err, "");
  // In the player's language, and the windows' class for the dock.
  const std::string entry = ReadFile(Prefix() + "/share/applications/" + kId + ".desktop");
  const std::string metainfo = ReadFile(Prefix() + "/share/metainfo/" + kId + ".metainfo.xml");
  for (const std::string& line :
       {std::string("\nName[ja]="), std::string("\nComment[ja]="), "\nStartupWMClass=" + kId + "\n"})
    EXPECT_NE(entry.find(line), std::string::npos) << line;
  for (const char* element : {"<summary xml:lang=\"ja\">", "<project_license>MIT</project_license>"})
    EXPECT_NE(metainfo.find(element), std::string::npos) << element;
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

// The program in bin/ or games/, the data in share/billboard-brawl or
// share/games/billboard-brawl, the whole moved to another prefix: the data and the
// translations are found, a missing file is named in the folder found; with no data, the
// message names every folder looked in, and BRAWL_DATA_DIR names another. That stray data
// files in the working folder are not read is the data folder test's.
TEST_F(Installed, FindsItsDataAndLanguageInEveryLayoutAPackagerMayChoose) {
  for (const bool games : {false, true}) {
    const std::string moved = MakeTempDir() + "/elsewhere";
    fs::copy(Prefix(), moved, fs::copy_options::recursive);
    std::string program = moved + "/bin/brawl";
    if (games) {
      fs::rename(moved + "/bin", moved + "/games");
      fs::create_directories(moved + "/share/games");
      fs::rename(moved + "/share/billboard-brawl", moved + "/share/games/billboard-brawl");
      program = moved + "/games/brawl";
    }
    const RunResult run = RunShell("cd / && '" + program + "' --headless --frames 2");
    EXPECT_EQ(run.exit_code, 0) << run.err;
    const RunResult help = RunShell("cd / && LC_ALL=C.UTF-8 LANGUAGE=ja '" + program + "' --help");
    EXPECT_NE(help.out.find("ビルボード"), std::string::npos) << help.out;

    const std::string data = moved + (games ? "/share/games/billboard-brawl/" : "/share/billboard-brawl/");
    fs::remove(data + "back1.x");
    const RunResult missing = RunShell("cd / && '" + program + "' --headless --frames 1");
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_NE(missing.err.find(data + "back1.x"), std::string::npos) << missing.err;

    fs::remove_all(data);
    const RunResult lost = RunShell("cd / && '" + program + "' --headless --frames 2");
    EXPECT_EQ(lost.exit_code, 1);
    const std::string bin = moved + (games ? "/games/" : "/bin/");
    EXPECT_EQ(lost.err,
              "brawl: cannot find the game's data: env.ini: looked in " + bin + ", " + moved +
                  "/share/billboard-brawl/, " + moved +
                  "/share/games/billboard-brawl/; set BRAWL_DATA_DIR to the folder that holds it\n");
    const RunResult told =
        RunShell("cd / && BRAWL_DATA_DIR='" + BuildDir() + "' '" + program + "' --headless --frames 2");
    EXPECT_EQ(told.exit_code, 0) << told.err;
    fs::remove_all(fs::path(moved).parent_path());
  }
}

}  // namespace

}  // namespace brawl
