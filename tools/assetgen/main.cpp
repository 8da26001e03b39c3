#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "arena.h"
#include "env_ini.h"
#include "figures.h"
#include "gen_error.h"
#include "hud.h"
#include "icons.h"
#include "shots.h"
#include "sounds.h"
#include "text.h"
#include "title.h"

// Writes every data file of the game into one folder, the same bytes on every run;
// with --icons FOLDER ID, the application icon's hicolor tree instead.
int main(int argc, char** argv) {
  using namespace brawl;
  if (argc == 4 && std::string(argv[1]) == "--icons") {
    try {
      WriteIcons(argv[2], argv[3]);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "assetgen: %s\n", e.what());
      return 1;
    }
    return 0;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: assetgen OUTPUT_FOLDER | assetgen --icons FOLDER ID\n");
    return 2;
  }
  const std::string folder = argv[1];
  try {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
      throw GenError("cannot write the data files", folder, "not a folder");
    WriteFighters(folder);
    WriteShots(folder);
    {
      const FontLibrary fonts;
      const Typeface face = FindTypeface();
      WriteTitle(folder, face);
      WriteHud(folder, face);
    }
    WriteArena(folder);
    WriteEnvIni(folder, WriteSounds(folder));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
