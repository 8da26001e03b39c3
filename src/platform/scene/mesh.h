#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/scene/frame.h"

namespace brawl {

// Colours run from 0 to 1. Lit by ambient light alone, a face shows
// face_color * ambient + emissive.
struct Material {
  float face_color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  float power = 0.0f;
  float specular[3] = {0.0f, 0.0f, 0.0f};
  float emissive[3] = {0.0f, 0.0f, 0.0f};
  std::string texture;  // file name as the mesh gives it; empty for none
};

struct Triangle {
  uint32_t v[3] = {0, 0, 0};
  uint32_t material = 0;
};

// Triangles over one vertex list, in the coordinates of the frame the mesh hangs on.
struct Mesh {
  std::vector<Vec3> vertices;
  std::vector<Triangle> triangles;
  std::vector<Material> materials;  // never empty once a mesh is read
};

}  // namespace brawl
