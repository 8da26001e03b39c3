#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "formats/mesh.h"
#include "gfx/surface.h"
#include "sim/pose.h"

namespace brawl {

using NodeId = int;
using VisualId = int;

// A flat picture that always faces the viewer: `width` x `height` scene units, its
// top-left corner at its node's position. Texels equal to `transparent_color` are not
// drawn while `transparent` is on.
struct Decal {
  Surface texture;
  bool transparent = false;
  uint16_t transparent_color = 0;
  float width = 1.0f;
  float height = 1.0f;
};

enum class VisualKind : uint8_t { kDecal, kMesh };

struct Visual {
  VisualKind kind = VisualKind::kDecal;
  int index = 0;  // into Scene::decals or Scene::meshes
};

// One thing in the scene: where it stands and looks, and what it shows.
struct SceneNode {
  Pose pose;
  VisualId visual = -1;  // into Scene::visuals, -1 for none
};

// The retained 3-D world: every node hangs under the root, and every placement is made
// in the root's coordinates.
struct Scene {
  std::vector<SceneNode> nodes;
  std::vector<Visual> visuals;
  std::vector<Decal> decals;
  std::vector<Mesh> meshes;
  uint32_t background = 0;  // 0xRRGGBB
  // Sum of the ambient lights; the scene is lit by nothing else.
  float ambient[3] = {0.0f, 0.0f, 0.0f};
};

// A new node at the root's origin, facing +z with y up, showing nothing.
NodeId CreateNode(Scene& scene);

VisualId CreateDecal(Scene& scene, Surface texture);
Decal& DecalOf(Scene& scene, VisualId visual);
void SetDecalTransparency(Scene& scene, VisualId decal, bool on);
void SetDecalTransparentColor(Scene& scene, VisualId decal, uint16_t color);
void SetDecalSize(Scene& scene, VisualId decal, float width, float height);

VisualId CreateMeshVisual(Scene& scene, Mesh mesh);
// Hangs the visual on the node; a node shows one visual.
void AddVisual(Scene& scene, NodeId node, VisualId visual);

void SetSceneBackground(Scene& scene, uint32_t rgb);
void AddAmbientLight(Scene& scene, float red, float green, float blue);

}  // namespace brawl
