// The game's data folder spoiled one way at a time: the launch stops with one line naming
// the file and what is wrong, exit status 1, before the first pass; files are read in the
// game's order, so the first missing one is the one named.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "support/data_files.h"
#include "support/run_brawl.h"

namespace brawl {
namespace {

namespace fs = std::filesystem;

struct Spoiled {
  const char* name;
  std::function<void(const std::string& folder)> spoil;
  const char* message;  // after "brawl: "; FOLDER stands for the data folder
};

void Remove(const std::string& path) {
  fs::remove(path);
}

const Spoiled kCases[] = {
    {"title_missing", [](const std::string& f) { Remove(f + "title.bmp"); }, "bitmap: FOLDERtitle.bmp: "},
    {"lifebar_cut_short", [](const std::string& f) { fs::resize_file(f + "lifebar.bmp", 40); },
     "bitmap: FOLDERlifebar.bmp: "},
    {"banner_not_a_picture",
     [](const std::string& f) { std::ofstream(f + "2pwin.bmp") << "not a picture at all"; },
     "bitmap: FOLDER2pwin.bmp: "},
    {"title_too_narrow", [](const std::string& f) { WriteBmp(f + "title.bmp", 319, 240); },
     "bitmap: FOLDERtitle.bmp: is 319 x 240 pixels, smaller than the 320 x 240 the game shows of it"},
    {"cursor_too_low", [](const std::string& f) { WriteBmp(f + "Cursor.bmp", 32, 16); },
     "bitmap: FOLDERCursor.bmp: is 32 x 16 pixels, smaller than the 32 x 32 the game shows of it"},
    {"lifebar_too_short", [](const std::string& f) { WriteBmp(f + "lifebar.bmp", 127, 6); },
     "bitmap: FOLDERlifebar.bmp: is 127 x 6 pixels, smaller than the 128 x 6 the game shows of it"},
    {"banner_too_low", [](const std::string& f) { WriteBmp(f + "1pwin.bmp", 240, 63); },
     "bitmap: FOLDER1pwin.bmp: is 240 x 63 pixels, smaller than the 240 x 64 the game shows of it"},
    {"sprite_missing", [](const std::string& f) { Remove(f + "m002.bmp"); }, "bitmap: FOLDERm002.bmp: "},
    {"splash_cut_short", [](const std::string& f) { fs::resize_file(f + "blood.bmp", 60); },
     "bitmap: FOLDERblood.bmp: "},
    {"mesh_binary", [](const std::string& f) { std::ofstream(f + "back1.x") << "xof 0302bin 0032\x01\x02"; },
     "arena mesh: FOLDERback1.x: binary .x files are not supported; save it as text"},
    // Overlay bitmaps, then the sprites, then the arena: the first missing is named.
    {"first_missing_named",
     [](const std::string& f) {
       Remove(f + "back1.x");
       Remove(f + "blood.bmp");
       Remove(f + "2pwin.bmp");
     },
     "bitmap: FOLDER2pwin.bmp: "},
    {"sprite_before_mesh",
     [](const std::string& f) {
       Remove(f + "back1.x");
       Remove(f + "blood.bmp");
     },
     "bitmap: FOLDERblood.bmp: "},
    {"wave_missing", [](const std::string& f) { Remove(f + "ogaa.wav"); }, "FOLDERogaa.wav: "},
    // A picture the mesh names is found like the sprites; one that cannot be shown names both.
    {"texture_missing", [](const std::string& f) { Remove(f + "grass.bmp"); },
     "arena texture: FOLDERgrass.bmp: No such file or directory (named by FOLDERback1.x)"},
    {"texture_cut_short", [](const std::string& f) { fs::resize_file(f + "grass.bmp", 60); },
     "arena texture: FOLDERgrass.bmp: truncated"},
    {"texture_not_a_picture", [](const std::string& f) { std::ofstream(f + "wall.bmp") << "wall"; },
     "arena texture: FOLDERwall.bmp: not a BMP file"},
    {"texture_too_large", [](const std::string& f) { WriteBmp(f + "floor.bmp", 4097, 1); },
     "arena texture: FOLDERfloor.bmp: picture too large (4097x1)"},
};

class DataFolder : public ::testing::TestWithParam<Spoiled> {};

TEST_P(DataFolder, StopsTheLaunchWithOneLine) {
  const std::string folder = CopyOfDataFolder();
  GetParam().spoil(folder);
  std::string want = GetParam().message;
  for (size_t at; (at = want.find("FOLDER")) != std::string::npos;) want.replace(at, 6, folder);
  const RunResult run =
      RunBrawl({"--headless", "--app-path", folder, "--frames", "5"}, "", 60, MakeTempDir());
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("brawl: "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(want), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(Spoiled, DataFolder, ::testing::ValuesIn(kCases),
                         [](const auto& c) { return std::string(c.param.name); });

// Data comes from the program's folder only, as it finds it by itself: broken copies in the
// working folder change nothing.
TEST(DataFolderPictures, StrayFilesInTheWorkingFolderAreNotRead) {
  const std::string work = MakeTempDir();
  for (const char* stray : {"m002.bmp", "floor.bmp", "title.bmp", "back1.x", "env.ini", "fire.wav"})
    std::ofstream(work + "/" + stray) << "stray";
  const RunResult run = RunBrawl({"--headless", "--frames", "5"}, "", 60, work);
  EXPECT_EQ(run.exit_code, 0) << run.err;
}

}  // namespace
}  // namespace brawl
