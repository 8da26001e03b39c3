#include "app/env_ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/fatal_error.h"
#include "game/settings.h"
#include "support/run_brawl.h"

namespace brawl {

namespace {

std::string ErrorOf(const std::string& text) {
  try {
    ParseEnvIni(text, "/x/env.ini");
  } catch (const FatalError& e) {
    return e.what();
  }
  return "";
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
      const EnvIni ini = ParseEnvIni(with(e.accepted), "/x/env.ini");
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
    ApplyEnvIni(settings);
    EXPECT_EQ(settings.Form.hires_ticked, preset == 1) << preset;
    EXPECT_EQ(settings.Form.fps_ticked, preset == 1) << preset;
  }
  std::filesystem::remove_all(dir);
}

}  // namespace

}  // namespace brawl
