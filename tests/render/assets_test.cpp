#include "render/assets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "game/game.h"
#include "platform/fatal_error.h"
#include "support/fake_platform.h"
#include "support/run_brawl.h"

namespace fs = std::filesystem;

namespace {

const char* const kDataFiles[] = {"title.bmp",    "Cursor.bmp", "lifebar.bmp", "1pwin.bmp",
                                  "2pwin.bmp",    "m001.bmp",   "m002.bmp",    "bullet01.bmp",
                                  "bullet02.bmp", "blood.bmp",  "back1.x",     "floor.bmp",
                                  "border.bmp",   "kerb.bmp",   "grass.bmp",   "wall.bmp"};

// A 24-bit BMP of one colour.
void WriteBmp(const std::string& path, int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  const int row = (width * 3 + 3) & ~3;
  const uint32_t size = 54 + static_cast<uint32_t>(row * height);
  std::string bytes(size, '\0');
  auto put = [&](size_t at, uint32_t value, int n) {
    for (int i = 0; i < n; ++i)
      bytes[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(2, size, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(width), 4);
  put(22, static_cast<uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t at = 54 + static_cast<size_t>(y * row + x * 3);
      bytes[at] = static_cast<char>(b);
      bytes[at + 1] = static_cast<char>(g);
      bytes[at + 2] = static_cast<char>(r);
    }
  std::ofstream(path, std::ios::binary) << bytes;
}

// A program folder holding copies of the generated data files, and an empty working
// directory to run in.
class Assets : public ::testing::Test {
 protected:
  void SetUp() override {
    app = MakeTempDir() + "/";
    work = MakeTempDir();
    for (const char* name : kDataFiles) fs::copy_file(BuildDir() + "/" + name, app + name);
    old_directory = fs::current_path();
    fs::current_path(work);
    game.settings.AppPath = app;
    game.settings.ScreenWidth = 320;
    game.settings.ScreenHeight = 240;
    game.gfx.BackBuffer = MakeSurface(320, 240);
  }
  void TearDown() override {
    fs::current_path(old_directory);
    fs::remove_all(app);
    fs::remove_all(work);
  }

  std::string LoadError() {
    try {
      LoadAssets(game);
    } catch (const FatalError& e) {
      return e.what();
    }
    return "(no error)";
  }

  const Decal& DecalOn(FrameId frame) {
    const Frame& f = game.scene.frames.at(static_cast<size_t>(frame));
    EXPECT_GE(f.visual, 0);
    const Visual& v = game.scene.visuals.at(static_cast<size_t>(f.visual));
    EXPECT_EQ(v.kind, VisualKind::kDecal);
    return game.scene.decals.at(static_cast<size_t>(v.index));
  }

  std::string app, work;
  fs::path old_directory;
  FakePlatform fake;
  Game game{fake.platform};
};

TEST_F(Assets, BuildsTheSceneWithFortyTwoSpritesEachWithItsOwnTexture) {
  ASSERT_EQ(LoadError(), "(no error)");
  const MatchFrames& f = game.frames;
  EXPECT_EQ(game.scene.decals.size(), 42u);
  const Surface bullet1 = LoadBitmap(app + "bullet01.bmp"), bullet2 = LoadBitmap(app + "bullet02.bmp");
  const Surface blood = LoadBitmap(app + "blood.bmp");
  ASSERT_NE(bullet1.pixels, bullet2.pixels);
  EXPECT_EQ(DecalOn(f.FighterFrame[0]).texture.pixels, LoadBitmap(app + "m001.bmp").pixels);
  EXPECT_EQ(DecalOn(f.FighterFrame[1]).texture.pixels, LoadBitmap(app + "m002.bmp").pixels);
  std::set<const Decal*> distinct;
  for (int i = 0; i < kSlots; ++i) {
    EXPECT_EQ(DecalOn(f.BulletFrame[0][i]).texture.pixels, bullet1.pixels) << i;
    EXPECT_EQ(DecalOn(f.BulletFrame[1][i]).texture.pixels, bullet2.pixels) << i;
    EXPECT_EQ(DecalOn(f.BloodFrame[0][i]).texture.pixels, blood.pixels) << i;
    EXPECT_EQ(DecalOn(f.BloodFrame[1][i]).texture.pixels, blood.pixels) << i;
    for (FrameId id : {f.BulletFrame[0][i], f.BulletFrame[1][i], f.BloodFrame[0][i], f.BloodFrame[1][i]})
      distinct.insert(&DecalOn(id));
  }
  distinct.insert(&DecalOn(f.FighterFrame[0]));
  distinct.insert(&DecalOn(f.FighterFrame[1]));
  EXPECT_EQ(distinct.size(), 42u);
  for (const Decal* d : distinct) {
    EXPECT_TRUE(d->transparent);
    EXPECT_EQ(d->transparent_color, 0);
    EXPECT_EQ(d->width, 1.0f);
    EXPECT_EQ(d->height, 1.0f);
  }
  // Every sprite stands at the origin until the match reset places it.
  for (FrameId id : {f.FighterFrame[0], f.BulletFrame[1][9], f.BloodFrame[0][4]}) {
    const Vec3 p = game.scene.frames.at(static_cast<size_t>(id)).position;
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    EXPECT_EQ(p.z, 0.0f);
  }
  EXPECT_EQ(game.scene.background, 0x7070E0u);
  EXPECT_EQ(game.scene.ambient[0], 0.5f);
  EXPECT_EQ(game.scene.ambient[2], 0.5f);
  const Frame& arena = game.scene.frames.at(static_cast<size_t>(game.gfx.ArenaFrame));
  EXPECT_EQ(game.scene.visuals.at(static_cast<size_t>(arena.visual)).kind, VisualKind::kMesh);
  EXPECT_GT(game.scene.meshes.at(0).triangles.size(), 0u);
  EXPECT_EQ(game.scene.frames.at(static_cast<size_t>(f.Camera[1])).position.y, 10.0f);
  // The two-player layout comes first.
  EXPECT_EQ(game.gfx.Viewport[0].width, 160);
  EXPECT_EQ(game.gfx.Viewport[1].left, 160);
  EXPECT_EQ(game.gfx.Viewport[1].camera, f.Camera[1]);
  // Only the win banners carry the black key.
  EXPECT_TRUE(game.gfx.P1WinSurface.has_color_key);
  EXPECT_TRUE(game.gfx.P2WinSurface.has_color_key);
  EXPECT_EQ(game.gfx.P2WinSurface.color_key, 0);
  EXPECT_FALSE(game.gfx.TitleSurface.has_color_key);
  EXPECT_FALSE(game.gfx.CursorSurface.has_color_key);
  EXPECT_FALSE(game.gfx.LifeBarSurface[0].has_color_key);
  EXPECT_FALSE(game.gfx.LifeBarSurface[1].has_color_key);
  EXPECT_EQ(game.gfx.LifeBarSurface[1].pixels, game.gfx.LifeBarSurface[0].pixels);
}

TEST_F(Assets, SpriteBitmapsInTheWorkingDirectoryComeFirst) {
  WriteBmp(work + "/m002.bmp", 8, 8, 0, 255, 0);
  fs::remove(app + "bullet01.bmp");
  WriteBmp(work + "/bullet01.bmp", 4, 4, 255, 0, 0);
  ASSERT_EQ(LoadError(), "(no error)");
  const Decal& fighter = DecalOn(game.frames.FighterFrame[1]);
  EXPECT_EQ(fighter.texture.width, 8);
  EXPECT_EQ(fighter.texture.pixels.front(), Rgb565(0x00FF00));
  EXPECT_EQ(DecalOn(game.frames.BulletFrame[0][7]).texture.pixels.front(), Rgb565(0xFF0000));
  // The overlay's bitmaps come from the program folder only.
  WriteBmp(work + "/title.bmp", 320, 240, 1, 2, 3);
  EXPECT_NE(game.gfx.TitleSurface.pixels.front(), Rgb565(0x010203));
}

TEST_F(Assets, BadBitmapsEndTheGameNamingTheFile) {
  const struct {
    const char* file;
    const char* expected;  // after "bitmap: <app><file>: "
    std::function<void(const std::string&)> spoil;
  } cases[] = {
      {"title.bmp", "", [](const std::string& p) { fs::remove(p); }},
      {"lifebar.bmp", "", [](const std::string& p) { fs::resize_file(p, 40); }},
      {"2pwin.bmp", "", [](const std::string& p) { std::ofstream(p) << "not a picture at all"; }},
      {"title.bmp", "is 319 x 240 pixels, smaller than the 320 x 240 the game shows of it",
       [](const std::string& p) { WriteBmp(p, 319, 240, 9, 9, 9); }},
      {"Cursor.bmp", "is 32 x 16 pixels, smaller than the 32 x 32 the game shows of it",
       [](const std::string& p) { WriteBmp(p, 32, 16, 9, 9, 9); }},
      {"lifebar.bmp", "is 127 x 6 pixels, smaller than the 128 x 6 the game shows of it",
       [](const std::string& p) { WriteBmp(p, 127, 6, 9, 9, 9); }},
      {"1pwin.bmp", "is 240 x 63 pixels, smaller than the 240 x 64 the game shows of it",
       [](const std::string& p) { WriteBmp(p, 240, 63, 9, 9, 9); }},
      {"m002.bmp", "", [](const std::string& p) { fs::remove(p); }},
      {"blood.bmp", "", [](const std::string& p) { fs::resize_file(p, 60); }},
  };
  for (const auto& c : cases) {
    const std::string path = app + c.file;
    const std::string saved = path + ".saved";
    fs::copy_file(path, saved);
    c.spoil(path);
    FakePlatform platform;
    Game g{platform.platform};
    g.settings = game.settings;
    std::string message = "(no error)";
    try {
      LoadAssets(g);
    } catch (const FatalError& e) {
      message = e.what();
    }
    const std::string prefix = "bitmap: " + path + ": ";
    EXPECT_EQ(message.rfind(prefix, 0), 0u) << c.file << ": " << message;
    if (*c.expected) {
      EXPECT_EQ(message, prefix + c.expected);
    }
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    fs::remove(path);
    fs::rename(saved, path);
  }
}

TEST_F(Assets, LoadsInTheGamesOrderSoTheFirstMissingFileIsTheOneNamed) {
  // Overlay bitmaps, then the sprites, then the arena.
  fs::remove(app + "back1.x");
  fs::remove(app + "blood.bmp");
  fs::remove(app + "2pwin.bmp");
  EXPECT_NE(LoadError().find(app + "2pwin.bmp"), std::string::npos);
  fs::copy_file(app + "1pwin.bmp", app + "2pwin.bmp", fs::copy_options::overwrite_existing);
  FakePlatform second;
  Game g{second.platform};
  g.settings = game.settings;
  try {
    LoadAssets(g);
    ADD_FAILURE() << "loaded without blood.bmp";
  } catch (const FatalError& e) {
    EXPECT_NE(std::string(e.what()).find(app + "blood.bmp"), std::string::npos) << e.what();
  }
}

// Each file the mesh names is loaded once, found the way the sprites are found.
TEST_F(Assets, ArenaTexturesAreLoadedOnceEachWorkingDirectoryFirst) {
  WriteBmp(work + "/grass.bmp", 3, 5, 0, 255, 0);
  ASSERT_EQ(LoadError(), "(no error)");
  const Mesh& arena = game.scene.meshes.at(0);
  std::set<std::string> named;
  for (const Material& m : arena.materials) {
    if (m.texture.empty()) continue;
    named.insert(m.texture);
    ASSERT_GE(m.image, 0) << m.texture;
    const Surface& picture = arena.textures.at(static_cast<size_t>(m.image));
    if (m.texture == "grass.bmp")
      EXPECT_EQ(picture.pixels, std::vector<uint16_t>(15, Rgb565(0x00FF00)));  // any size will do
    else
      EXPECT_EQ(picture.pixels, LoadBitmap(app + m.texture).pixels) << m.texture;
  }
  EXPECT_EQ(named.size(), 5u);
  EXPECT_EQ(arena.textures.size(), named.size());
}

// A texture the mesh names that cannot be shown ends the launch with one line naming the
// picture and the mesh.
TEST_F(Assets, BadArenaTexturesAreNamedWithTheirMesh) {
  const struct {
    const char* reason;
    std::function<void(const std::string&)> spoil;
  } cases[] = {
      {"No such file or directory", [](const std::string& p) { fs::remove(p); }},
      {"truncated", [](const std::string& p) { fs::resize_file(p, 60); }},
      {"not a BMP file", [](const std::string& p) { std::ofstream(p) << "grass"; }},
      {"picture too large (4097x1)", [](const std::string& p) { WriteBmp(p, 4097, 1, 9, 9, 9); }},
  };
  for (const auto& c : cases) {
    fs::copy_file(BuildDir() + "/grass.bmp", app + "grass.bmp", fs::copy_options::overwrite_existing);
    c.spoil(app + "grass.bmp");
    FakePlatform platform;
    Game g{platform.platform};
    g.settings = game.settings;
    std::string message = "(no error)";
    try {
      LoadAssets(g);
    } catch (const FatalError& e) {
      message = e.what();
    }
    EXPECT_EQ(message.rfind("arena texture: " + app + "grass.bmp: " + c.reason, 0), 0u) << message;
    EXPECT_NE(message.find("(named by " + app + "back1.x)"), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
}

TEST_F(Assets, BrokenArenaMeshIsNamed) {
  std::ofstream(app + "back1.x") << "xof 0302bin 0032\x01\x02";
  EXPECT_EQ(LoadError(),
            "arena mesh: " + app + "back1.x: binary .x files are not supported; save it as text");
  fs::remove(app + "back1.x");
  FakePlatform platform;
  Game g{platform.platform};
  g.settings = game.settings;
  EXPECT_THROW(LoadAssets(g), FatalError);
}

}  // namespace
