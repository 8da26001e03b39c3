#include "app/env_ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "game/settings.h"
#include "platform/fatal_error.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

EnvIni Parse(const std::string& text) {
  return ParseEnvIni(text, "/x/env.ini");
}

std::string ErrorOf(const std::string& text) {
  try {
    Parse(text);
  } catch (const FatalError& e) {
    return e.what();
  }
  return "";
}

TEST(EnvIni, ReadsThreeNumberAndLabelRecords) {
  const EnvIni ini = Parse("1500,wait\n1,hires\n1,fps\n");
  EXPECT_EQ(ini.wait, 1500);
  EXPECT_EQ(ini.hires_preset, 1);
  EXPECT_EQ(ini.fps_preset, 1);
}

TEST(EnvIni, FieldSyntax) {
  // CRLF line ends, blanks before fields, a quoted label holding commas, everything on one line.
  EXPECT_EQ(Parse("  700 ,\"a, b, c\"\r\n 1,x\r\n0,y\r\n").wait, 700);
  EXPECT_EQ(Parse("  700 ,\"a, b, c\"\r\n 1,x\r\n0,y\r\n").hires_preset, 1);
  const EnvIni one_line = Parse("5,a,1,b,1,c");
  EXPECT_EQ(one_line.wait, 5);
  EXPECT_EQ(one_line.fps_preset, 1);
  // Text after a closing quote is dropped up to the delimiter, so the quote ends the label.
  EXPECT_EQ(Parse("1,\"lab\"el,2,x,3,y").hires_preset, 2);
  // Anything after the sixth field is not read, even garbage.
  EXPECT_EQ(Parse("1,a\n0,b\n-1,c\nnot read at all,\"\n").fps_preset, -1);
}

TEST(EnvIni, BadFilesNameTheFileAndTheFault) {
  EXPECT_NE(ErrorOf("1,a\n0,b\n0").find("has 5 of its six fields"), std::string::npos);
  EXPECT_NE(ErrorOf("1,a\n0,b\n0,").find("has 5 of its six fields"), std::string::npos);
  EXPECT_NE(ErrorOf("").find("has 0"), std::string::npos);
  EXPECT_NE(ErrorOf("1,a\n0,b\n99999999999999999999999,c").find("field 5 is outside"), std::string::npos);
  EXPECT_NE(ErrorOf("fast,a\n0,b\n0,c").find("field 1 is not a number"), std::string::npos);
  EXPECT_NE(ErrorOf("1,a\n0x1,b\n0,c").find("field 3 is not a number"), std::string::npos);
  EXPECT_EQ(ErrorOf("1,a\n0,b\n0,c"), "");
  EXPECT_NE(ErrorOf("1,a\n,b\n0,c").find("settings file: /x/env.ini: field 3"), std::string::npos);
}

TEST(EnvIni, EveryNumberFieldTakesExactlyTheSixteenBitRange) {
  struct Edge {
    int accepted, refused;
  };
  for (const Edge e : {Edge{32767, 32768}, Edge{-32768, -32769}}) {
    for (int field = 1; field <= 5; field += 2) {
      // The file with `value` in `field` and 0 in the other two number fields.
      auto with = [field](int value) {
        std::string text;
        for (int f = 1; f <= 5; f += 2) text += std::to_string(f == field ? value : 0) + ",label\n";
        return text;
      };
      const EnvIni ini = Parse(with(e.accepted));
      EXPECT_EQ(field == 1 ? ini.wait : field == 3 ? ini.hires_preset : ini.fps_preset, e.accepted) << field;
      EXPECT_NE(ErrorOf(with(e.refused)).find("field " + std::to_string(field) + " is outside -32768..32767"),
                std::string::npos)
          << field << ": " << e.refused;
    }
  }
}

TEST(EnvIni, OnlyAPresetOfExactlyOneTicksItsBox) {
  const std::string dir = MakeTempDir();
  for (const int preset : {0, 1, 2}) {
    std::ofstream(dir + "/env.ini") << "0,a\n" << preset << ",b\n" << preset << ",c\n";
    Settings settings;
    settings.AppPath = dir + "/";
    ReadSettingsFile(settings, "", "env.ini");
    EXPECT_EQ(settings.form.hires_ticked, preset == 1) << preset;
    EXPECT_EQ(settings.form.fps_ticked, preset == 1) << preset;
  }
  std::filesystem::remove_all(dir);
}

TEST(EnvIni, BadFileEndsTheRealProgramBeforeAnyWindow) {
  const std::string dir = MakeTempDir();
  std::ofstream(dir + "/env.ini") << "1,a\n2,b\n";
  // The settings file is read before the settings window is shown, so even without a display
  // the error names the file.
  const RunResult run = RunBrawl({"--headless", "--app-path", dir});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "brawl: settings file: " + dir +
                         "/env.ini: has 4 of its six fields (a number and a label on each of three lines)\n");
}

}  // namespace

}  // namespace brawl
