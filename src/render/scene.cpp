#include "render/scene.h"

#include <utility>

namespace brawl {

VisualId CreateDecal(Scene& scene, Surface texture) {
  Decal decal;
  decal.texture = std::move(texture);
  scene.decals.push_back(std::move(decal));
  scene.visuals.push_back({VisualKind::kDecal, static_cast<int>(scene.decals.size() - 1)});
  return static_cast<VisualId>(scene.visuals.size() - 1);
}

Decal& DecalOf(Scene& scene, VisualId visual) {
  return scene.decals.at(static_cast<size_t>(scene.visuals.at(static_cast<size_t>(visual)).index));
}

void SetDecalTransparency(Scene& scene, VisualId decal, bool on) {
  DecalOf(scene, decal).transparent = on;
}

void SetDecalTransparentColor(Scene& scene, VisualId decal, uint16_t color) {
  DecalOf(scene, decal).transparent_color = color;
}

void SetDecalSize(Scene& scene, VisualId decal, float width, float height) {
  Decal& d = DecalOf(scene, decal);
  d.width = width;
  d.height = height;
}

VisualId CreateMeshVisual(Scene& scene, Mesh mesh) {
  if (mesh.materials.empty()) mesh.materials.emplace_back();
  scene.meshes.push_back(std::move(mesh));
  scene.visuals.push_back({VisualKind::kMesh, static_cast<int>(scene.meshes.size() - 1)});
  return static_cast<VisualId>(scene.visuals.size() - 1);
}

NodeId CreateNode(Scene& scene) {
  scene.nodes.emplace_back();
  return static_cast<NodeId>(scene.nodes.size() - 1);
}

void AddVisual(Scene& scene, NodeId node, VisualId visual) {
  scene.nodes.at(static_cast<size_t>(node)).visual = visual;
}

void SetSceneBackground(Scene& scene, uint32_t rgb) {
  scene.background = rgb & 0xFFFFFF;
}

void AddAmbientLight(Scene& scene, float red, float green, float blue) {
  scene.ambient[0] += red;
  scene.ambient[1] += green;
  scene.ambient[2] += blue;
}

}  // namespace brawl
