#include "render/assets.h"

#include <filesystem>
#include <map>
#include <string>

#include "platform/fatal_error.h"
#include "platform/scene/scene.h"
#include "platform/scene/viewport.h"
#include "platform/scene/xfile_reader.h"

namespace brawl {

namespace {

constexpr uint32_t kBackground = 0x7070E0;
constexpr float kAmbient = 0.5f;

// The overlay copies fixed rectangles out of these bitmaps, so a smaller one is refused
// here rather than shown half-empty.
void LoadBitmapSurface(const std::string& folder, const char* file_name, Surface& surface, int min_width,
                       int min_height, bool use_key) {
  const std::string path = folder + file_name;
  surface = LoadBitmap(path);
  if (surface.width < min_width || surface.height < min_height)
    throw Fatal("bitmap", path,
                "is " + std::to_string(surface.width) + " x " + std::to_string(surface.height) +
                    " pixels, smaller than the " + std::to_string(min_width) + " x " +
                    std::to_string(min_height) + " the game shows of it");
  if (use_key) SetColorKey(surface, 0);
}

void LoadBitmaps(Graphics& g, const std::string& folder) {
  LoadBitmapSurface(folder, "title.bmp", g.TitleSurface, 320, 240, false);
  LoadBitmapSurface(folder, "Cursor.bmp", g.CursorSurface, 32, 32, false);
  LoadBitmapSurface(folder, "lifebar.bmp", g.LifeBarSurface[0], 128, 6, false);
  LoadBitmapSurface(folder, "lifebar.bmp", g.LifeBarSurface[1], 128, 6, false);
  LoadBitmapSurface(folder, "1pwin.bmp", g.P1WinSurface, 240, 64, true);
  LoadBitmapSurface(folder, "2pwin.bmp", g.P2WinSurface, 240, 64, true);
}

// The cameras and the 42 sprite frames, all under the scene root, then the light.
void BuildScene(Graphics& g, Scene& scene) {
  const int w = g.width, h = g.height;
  g.RMDevice = CreateDevice(w, h);
  SceneFrames& f = g.frames;
  for (FrameId& camera : f.Camera) camera = CreateFrame(scene);
  for (FrameId& fighter : f.FighterFrame) fighter = CreateFrame(scene);
  for (int i = 0; i < kSlots; ++i) {
    f.BulletFrame[0][i] = CreateFrame(scene);
    f.BulletFrame[1][i] = CreateFrame(scene);
    f.BloodFrame[0][i] = CreateFrame(scene);
    f.BloodFrame[1][i] = CreateFrame(scene);
  }
  g.LightFrame = CreateFrame(scene);
  g.Viewport[0] = CreateViewport(f.Camera[0], 0, 0, w / 2, h);
  g.Viewport[1] = CreateViewport(f.Camera[1], w / 2, 0, w / 2, h);
  SetSceneBackground(scene, kBackground);
  AddAmbientLight(scene, kAmbient, kAmbient, kAmbient);
}

// Sprite bitmaps and the arena's textures are looked for in the working directory first,
// then in the program folder, then in the data folder, so that the game starts from any
// directory.
std::string SceneFilePath(const Folders& folders, const std::string& file_name) {
  std::error_code error;
  if (std::filesystem::exists(file_name, error)) return file_name;
  const std::string& program = folders.program;
  if (!program.empty() && std::filesystem::exists(program + file_name, error)) return program + file_name;
  return folders.data + file_name;
}

void MakeSprite(Scene& scene, const Folders& folders, FrameId frame, const char* file_name, bool black_key) {
  const VisualId texture = CreateDecal(scene, LoadBitmap(SceneFilePath(folders, file_name)));
  SetDecalTransparency(scene, texture, true);
  if (black_key) SetDecalTransparentColor(scene, texture, 0);
  SetDecalSize(scene, texture, 1.0f, 1.0f);
  AddVisual(scene, frame, texture);
}

// Every picture the mesh names, each file once. Any size the bitmap reader takes will do:
// the renderer wraps a texture of any width and height.
void LoadMeshTextures(const Folders& folders, Mesh& mesh, const std::string& mesh_path) {
  std::map<std::string, int> loaded;
  for (Material& m : mesh.materials) {
    if (m.texture.empty()) continue;
    const auto [at, fresh] = loaded.try_emplace(m.texture, static_cast<int>(mesh.textures.size()));
    if (fresh) {
      const std::string path = SceneFilePath(folders, m.texture);
      try {
        mesh.textures.push_back(LoadBitmap(path));
      } catch (const FatalError& e) {
        // The bitmap reader's reason, with the mesh that asks for the picture.
        std::string reason = e.what();
        const std::string prefix = "bitmap: " + path + ": ";
        if (reason.rfind(prefix, 0) == 0) reason.erase(0, prefix.size());
        throw Fatal("arena texture", path, reason + " (named by " + mesh_path + ")");
      }
    }
    m.image = at->second;
  }
}

void LoadArena(Graphics& g, Scene& scene, const Folders& folders) {
  const std::string path = folders.data + "back1.x";
  Mesh mesh = ReadXFile(path, "arena mesh");
  LoadMeshTextures(folders, mesh, path);
  const VisualId arena = CreateMeshVisual(scene, std::move(mesh));
  g.ArenaFrame = CreateFrame(scene);
  AddVisual(scene, g.ArenaFrame, arena);
}

}  // namespace

void LoadAssets(Graphics& g, Scene& scene, const Folders& folders) {
  LoadBitmaps(g, folders.data);
  BuildScene(g, scene);
  const SceneFrames& f = g.frames;
  MakeSprite(scene, folders, f.FighterFrame[0], "m001.bmp", false);
  MakeSprite(scene, folders, f.FighterFrame[1], "m002.bmp", false);
  for (int i = 0; i < kSlots; ++i) {
    MakeSprite(scene, folders, f.BulletFrame[0][i], "bullet01.bmp", true);
    MakeSprite(scene, folders, f.BulletFrame[1][i], "bullet02.bmp", true);
    MakeSprite(scene, folders, f.BloodFrame[0][i], "blood.bmp", true);
    MakeSprite(scene, folders, f.BloodFrame[1][i], "blood.bmp", true);
  }
  LoadArena(g, scene, folders);
}

}  // namespace brawl
