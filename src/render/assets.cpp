#include "render/assets.h"

#include <map>
#include <string>

#include "base/fatal_error.h"
#include "base/i18n.h"
#include "formats/bitmap.h"
#include "formats/xfile_reader.h"
#include "render/scene.h"
#include "render/viewport.h"

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
    throw Fatal(_("bitmap"), path,
                Fill(_("is {1} x {2} pixels, smaller than the {3} x {4} the game shows of it"),
                     {std::to_string(surface.width), std::to_string(surface.height),
                      std::to_string(min_width), std::to_string(min_height)}));
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

// The cameras and the 42 sprite nodes, all under the scene root, then the light.
void BuildScene(Graphics& g, Scene& scene) {
  const int w = g.Width, h = g.Height;
  g.Device = CreateDevice(w, h);
  SceneNodes& f = g.Nodes;
  for (NodeId& camera : f.Camera) camera = CreateNode(scene);
  for (NodeId& fighter : f.Fighter) fighter = CreateNode(scene);
  for (int i = 0; i < kSlots; ++i) {
    f.Bullet[0][i] = CreateNode(scene);
    f.Bullet[1][i] = CreateNode(scene);
    f.Blood[0][i] = CreateNode(scene);
    f.Blood[1][i] = CreateNode(scene);
  }
  g.LightNode = CreateNode(scene);
  g.Viewport[0] = CreateViewport(f.Camera[0], 0, 0, w / 2, h);
  g.Viewport[1] = CreateViewport(f.Camera[1], w / 2, 0, w / 2, h);
  SetSceneBackground(scene, kBackground);
  AddAmbientLight(scene, kAmbient, kAmbient, kAmbient);
}

void MakeSprite(Scene& scene, const std::string& folder, NodeId node, const char* file_name, bool black_key) {
  const VisualId texture = CreateDecal(scene, LoadBitmap(folder + file_name));
  SetDecalTransparency(scene, texture, true);
  if (black_key) SetDecalTransparentColor(scene, texture, 0);
  SetDecalSize(scene, texture, 1.0f, 1.0f);
  AddVisual(scene, node, texture);
}

// Every picture the mesh names, each file once. Any size the bitmap reader takes will do:
// the renderer wraps a texture of any width and height.
void LoadMeshTextures(const std::string& folder, Mesh& mesh, const std::string& mesh_path) {
  std::map<std::string, int> loaded;
  for (Material& m : mesh.materials) {
    if (m.texture.empty()) continue;
    const auto [at, fresh] = loaded.try_emplace(m.texture, static_cast<int>(mesh.textures.size()));
    if (fresh) {
      const std::string path = folder + m.texture;
      try {
        mesh.textures.push_back(LoadBitmap(path));
      } catch (const FatalError& e) {
        // The bitmap reader's reason, with the mesh that asks for the picture.
        std::string reason = e.what();
        const std::string prefix = std::string(_("bitmap")) + ": " + path + ": ";
        if (reason.rfind(prefix, 0) == 0) reason.erase(0, prefix.size());
        throw Fatal(_("arena texture"), path, Fill(_("{1} (named by {2})"), {reason, mesh_path}));
      }
    }
    m.image = at->second;
  }
}

void LoadArena(Graphics& g, Scene& scene, const std::string& folder) {
  const std::string path = folder + "back1.x";
  Mesh mesh = ReadXFile(path, _("arena mesh"));
  LoadMeshTextures(folder, mesh, path);
  const VisualId arena = CreateMeshVisual(scene, std::move(mesh));
  g.ArenaNode = CreateNode(scene);
  AddVisual(scene, g.ArenaNode, arena);
}

}  // namespace

void LoadAssets(Graphics& g, Scene& scene, const std::string& folder) {
  LoadBitmaps(g, folder);
  BuildScene(g, scene);
  const SceneNodes& f = g.Nodes;
  MakeSprite(scene, folder, f.Fighter[0], "m001.bmp", false);
  MakeSprite(scene, folder, f.Fighter[1], "m002.bmp", false);
  for (int i = 0; i < kSlots; ++i) {
    MakeSprite(scene, folder, f.Bullet[0][i], "bullet01.bmp", true);
    MakeSprite(scene, folder, f.Bullet[1][i], "bullet02.bmp", true);
    MakeSprite(scene, folder, f.Blood[0][i], "blood.bmp", true);
    MakeSprite(scene, folder, f.Blood[1][i], "blood.bmp", true);
  }
  LoadArena(g, scene, folder);
}

}  // namespace brawl
