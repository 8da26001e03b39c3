#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/surface.h"

namespace brawl {

// Colours run from 0 to 1. Lit by ambient light alone, a face shows
// face_color * ambient + emissive.
struct Material {
  float face_color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  float power = 0.0f;
  float specular[3] = {0.0f, 0.0f, 0.0f};
  float emissive[3] = {0.0f, 0.0f, 0.0f};
  std::string texture;  // file name as the mesh gives it; empty for none
  int image = -1;       // into Mesh::textures once the file is loaded; -1 draws flat
};

// A place on a texture: 0..1 across it, left to right and top to bottom; outside that the
// picture repeats.
struct TexCoord {
  float u = 0, v = 0;
};

// A corner of the mesh, in the coordinates of the node it hangs on.
struct MeshVertex {
  float x = 0, y = 0, z = 0;
};

struct Triangle {
  uint32_t v[3] = {0, 0, 0};
  uint32_t material = 0;
};

// Triangles over one vertex list, in the coordinates of the node the mesh hangs on.
struct Mesh {
  std::vector<MeshVertex> vertices;
  std::vector<TexCoord> uv;  // one per vertex; (0, 0) where the file gives none
  std::vector<Triangle> triangles;
  std::vector<Material> materials;  // never empty once a mesh is read
  std::vector<Surface> textures;    // the pictures the materials show, each file once
};

}  // namespace brawl
