#include "render/assets.h"

#include <filesystem>
#include <string>

#include "game/game.h"
#include "platform/fatal_error.h"
#include "platform/scene/scene.h"
#include "platform/scene/viewport.h"
#include "platform/scene/xfile_reader.h"
#include "sim/match.h"

namespace {

constexpr uint32_t kBackground = 0x7070E0;
constexpr float kAmbient = 0.5f;

// The overlay copies fixed rectangles out of these bitmaps, so a smaller one is refused
// here rather than shown half-empty.
void LoadBitmapSurface(Game& game, const char* file_name, Surface& surface, int min_width, int min_height,
                       bool use_key) {
  const std::string path = game.settings.AppPath + file_name;
  surface = LoadBitmap(path);
  if (surface.width < min_width || surface.height < min_height)
    throw Fatal("bitmap", path,
                "is " + std::to_string(surface.width) + " x " + std::to_string(surface.height) +
                    " pixels, smaller than the " + std::to_string(min_width) + " x " +
                    std::to_string(min_height) + " the game shows of it");
  if (use_key) SetColorKey(surface, 0);
}

void LoadBitmaps(Game& game) {
  Graphics& g = game.gfx;
  LoadBitmapSurface(game, "title.bmp", g.TitleSurface, 320, 240, false);
  LoadBitmapSurface(game, "Cursor.bmp", g.CursorSurface, 32, 32, false);
  LoadBitmapSurface(game, "lifebar.bmp", g.LifeBarSurface[0], 128, 6, false);
  LoadBitmapSurface(game, "lifebar.bmp", g.LifeBarSurface[1], 128, 6, false);
  LoadBitmapSurface(game, "1pwin.bmp", g.P1WinSurface, 240, 64, true);
  LoadBitmapSurface(game, "2pwin.bmp", g.P2WinSurface, 240, 64, true);
}

void BuildScene(Game& game) {
  const int w = game.settings.ScreenWidth, h = game.settings.ScreenHeight;
  Graphics& g = game.gfx;
  g.RMDevice = CreateDevice(w, h);
  CreateMatchFrames(game);  // the cameras, placed, and the sprite frames
  g.LightFrame = CreateFrame(game.scene);
  g.Viewport[0] = CreateViewport(game.frames.Camera[0], 0, 0, w / 2, h);
  g.Viewport[1] = CreateViewport(game.frames.Camera[1], w / 2, 0, w / 2, h);
  SetSceneBackground(game.scene, kBackground);
  AddAmbientLight(game.scene, kAmbient, kAmbient, kAmbient);
}

// Sprite bitmaps are looked for in the working directory first, then in the program
// folder, then in the data folder, so that the game starts from any directory.
void MakeSprite(Game& game, FrameId frame, const char* file_name, bool black_key) {
  std::string path = file_name;
  std::error_code error;
  const std::string& program = game.platform.executable_folder;
  if (!std::filesystem::exists(path, error) && !program.empty()) path = program + file_name;
  if (!std::filesystem::exists(path, error)) path = game.settings.AppPath + file_name;
  const VisualId texture = CreateDecal(game.scene, LoadBitmap(path));
  SetDecalTransparency(game.scene, texture, true);
  if (black_key) SetDecalTransparentColor(game.scene, texture, 0);
  SetDecalSize(game.scene, texture, 1.0f, 1.0f);
  AddVisual(game.scene, frame, texture);
}

void LoadArena(Game& game) {
  Mesh mesh = ReadXFile(game.settings.AppPath + "back1.x", "arena mesh");
  const VisualId arena = CreateMeshVisual(game.scene, std::move(mesh));
  game.gfx.ArenaFrame = CreateFrame(game.scene);
  AddVisual(game.scene, game.gfx.ArenaFrame, arena);
}

}  // namespace

void LoadAssets(Game& game) {
  LoadBitmaps(game);
  BuildScene(game);
  const MatchFrames& f = game.frames;
  MakeSprite(game, f.FighterFrame[0], "m001.bmp", false);
  MakeSprite(game, f.FighterFrame[1], "m002.bmp", false);
  for (int i = 0; i < kSlots; ++i) {
    MakeSprite(game, f.BulletFrame[0][i], "bullet01.bmp", true);
    MakeSprite(game, f.BulletFrame[1][i], "bullet02.bmp", true);
    MakeSprite(game, f.BloodFrame[0][i], "blood.bmp", true);
    MakeSprite(game, f.BloodFrame[1][i], "blood.bmp", true);
  }
  LoadArena(game);
}
