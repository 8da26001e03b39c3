#pragma once
#include <string>
#include <vector>

namespace brawl {

// A mesh built face by face and written in the DirectX .x text format.
struct Point {
  double x = 0, y = 0, z = 0;
};

struct Colour {
  double r = 1, g = 1, b = 1;
  double glow = 0;      // emissive part, as a fraction of the colour
  std::string texture;  // file the material names; empty for none
};

struct MeshFace {
  int v[3] = {0, 0, 0};
  int material = 0;
  Point normal;
};

struct TexturePlace {
  double u = 0, v = 0;
};

struct MeshText {
  std::string name;
  std::vector<Point> vertices;
  std::vector<MeshFace> faces;
  std::vector<Colour> materials;
  // Texture repeats per scene unit. Above zero, every vertex gets texture coordinates from
  // its position, projected along the axis its face looks most along (so a texture lies
  // flat on the ground and upright on walls) and the mesh writes them.
  double texture_scale = 0;
  std::vector<TexturePlace> uv;  // one per vertex
};

// Adds a triangle wound clockwise as seen from the side `facing` points to.
void AddTriangle(MeshText& mesh, Point a, Point b, Point c, Point facing, Colour colour);
// Adds a flat quad (corners in order around it) as two triangles.
void AddQuad(MeshText& mesh, Point a, Point b, Point c, Point d, Point facing, Colour colour);
// "xof 0302txt 0032", then one frame holding the meshes.
std::string XFileText(const std::string& frame_name, const std::vector<MeshText>& meshes);

}  // namespace brawl
