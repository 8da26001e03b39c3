#include "arena.h"

#include "mesh_text.h"
#include "textures.h"
#include "write_file.h"

namespace brawl {

namespace {

// The only light is a grey ambient of one half, so a face shows at half its colour;
// colours near 1 come out mid-bright. The kerb and the landmarks glow a little besides
// (emissive), so that they stand out from the floor.
constexpr double kGlow = 0.4;
constexpr double kArenaSize = 100.0;
constexpr double kTile = 10.0;
constexpr double kGroundY = -0.05;  // just under the floor, so the two never fight for a pixel
constexpr double kKerbWidth = 1.0, kKerbHeight = 0.3;

const Point kUp{0, 1, 0};

Colour Shade(Colour c, double f) {
  return {c.r * f, c.g * f, c.b * f, c.glow, c.texture};
}

MeshText Named(const char* name, double texture_scale) {
  MeshText mesh;
  mesh.name = name;
  mesh.texture_scale = texture_scale;
  return mesh;
}

// Ambient light alone shows no form, so a block's sides are given darker colours than
// its top: east and west faces a little, north and south faces more.
void AddBlock(MeshText& mesh, double x0, double x1, double y0, double y1, double z0, double z1,
              Colour colour) {
  AddQuad(mesh, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}, kUp, colour);
  const Colour side_x = Shade(colour, 0.88), side_z = Shade(colour, 0.76);
  AddQuad(mesh, {x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}, {-1, 0, 0}, side_x);
  AddQuad(mesh, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}, {1, 0, 0}, side_x);
  AddQuad(mesh, {x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}, {0, 0, -1}, side_z);
  AddQuad(mesh, {x0, y0, z1}, {x0, y1, z1}, {x1, y1, z1}, {x1, y0, z1}, {0, 0, 1}, side_z);
}

void AddPyramid(MeshText& mesh, double cx, double cz, double half, double height, Colour colour) {
  const Point apex{cx, kGroundY + height, cz};
  const Point nw{cx - half, kGroundY, cz + half}, ne{cx + half, kGroundY, cz + half};
  const Point se{cx + half, kGroundY, cz - half}, sw{cx - half, kGroundY, cz - half};
  AddTriangle(mesh, nw, ne, apex, {0, 0.5, 1}, Shade(colour, 0.66));
  AddTriangle(mesh, ne, se, apex, {1, 0.5, 0}, Shade(colour, 0.9));
  AddTriangle(mesh, se, sw, apex, {0, 0.5, -1}, Shade(colour, 0.78));
  AddTriangle(mesh, sw, nw, apex, {-1, 0.5, 0}, Shade(colour, 1.0));
}

// Grey checks, with a ring of sand-coloured checks along the edge as a warning. The checks
// are in the textures, two by two tiles to a repeat, so a few large faces make the floor.
MeshText Floor() {
  MeshText mesh = Named("Floor", 1.0 / (2 * kTile));
  const Colour inner{0.92, 0.92, 0.95, 0, kFloorTexture}, edge{0.98, 0.80, 0.52, 0, kBorderTexture};
  const double n = kArenaSize, t = kTile;
  auto add = [&](double x0, double x1, double z0, double z1, const Colour& colour) {
    AddQuad(mesh, {x0, 0, z0}, {x0, 0, z1}, {x1, 0, z1}, {x1, 0, z0}, kUp, colour);
  };
  add(t, n - t, -n + t, -t, inner);
  add(0, n, -t, 0, edge);           // north, corners included
  add(0, n, -n, -n + t, edge);      // south
  add(0, t, -n + t, -t, edge);      // west
  add(n - t, n, -n + t, -t, edge);  // east
  return mesh;
}

// A low yellow kerb just outside the floor marks the line a fighter must not cross.
MeshText Kerb() {
  MeshText mesh = Named("Kerb", 0.5);
  const Colour top{1.0, 0.9, 0.22, kGlow, kKerbTexture}, side{0.9, 0.46, 0.12, kGlow, kKerbTexture},
      end{0.75, 0.36, 0.1, kGlow, kKerbTexture};
  const double y0 = kGroundY, y1 = kKerbHeight, w = kKerbWidth, n = kArenaSize;
  // North (z = 0) and south (z = -100) kerbs run the full width, corners included.
  for (const double z0 : {0.0, -n - w}) {
    const double z1 = z0 + w, x0 = -w, x1 = n + w;
    AddQuad(mesh, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}, kUp, top);
    AddQuad(mesh, {x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}, {0, 0, -1}, side);
    AddQuad(mesh, {x0, y0, z1}, {x0, y1, z1}, {x1, y1, z1}, {x1, y0, z1}, {0, 0, 1}, side);
    AddQuad(mesh, {x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}, {-1, 0, 0}, end);
    AddQuad(mesh, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}, {1, 0, 0}, end);
  }
  // West and east kerbs fit between them.
  for (const double x0 : {-w, n}) {
    const double x1 = x0 + w, z0 = -n, z1 = 0;
    AddQuad(mesh, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}, kUp, top);
    AddQuad(mesh, {x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}, {-1, 0, 0}, side);
    AddQuad(mesh, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}, {1, 0, 0}, side);
  }
  return mesh;
}

// Grass in large checks all around, far enough that the far plane cuts it off from
// anywhere a fighter can reach.
MeshText Ground() {
  MeshText mesh = Named("Ground", 1.0 / 8);
  const Colour light{0.44, 0.72, 0.38, 0, kGrassTexture}, dark{0.34, 0.58, 0.30, 0, kGrassTexture};
  constexpr double kCell = 50.0;
  for (int i = -2; i < 4; ++i) {
    for (int k = -4; k < 2; ++k) {
      const double x0 = i * kCell, x1 = x0 + kCell, z0 = k * kCell, z1 = z0 + kCell;
      if (x0 >= 0 && x1 <= kArenaSize && z0 >= -kArenaSize && z1 <= 0) continue;  // under the floor
      const Colour colour = ((i + k) % 2 + 2) % 2 == 1 ? dark : light;
      AddQuad(mesh, {x0, kGroundY, z0}, {x0, kGroundY, z1}, {x1, kGroundY, z1}, {x1, kGroundY, z0}, kUp,
              colour);
    }
  }
  return mesh;
}

// Something different on every side, so a player can always tell which way he faces:
// coloured pillars at the corners, an orange gate to the north (+Z), a purple stack to
// the east (+X), a teal wall and tower to the south, a stone pyramid to the west.
MeshText Landmarks() {
  MeshText mesh = Named("Landmarks", 0.25);
  const double n = kArenaSize, y0 = kGroundY;
  const struct {
    double x, z;
    Colour colour;
  } pillars[] = {{-3, 3, {0.95, 0.22, 0.18, kGlow, kWallTexture}},
                 {n + 3, 3, {1.0, 0.85, 0.15, kGlow, kWallTexture}},
                 {n + 3, -n - 3, {0.2, 0.85, 0.35, kGlow, kWallTexture}},
                 {-3, -n - 3, {0.3, 0.5, 1.0, kGlow, kWallTexture}}};
  for (const auto& p : pillars) {
    AddBlock(mesh, p.x - 1.5, p.x + 1.5, y0, 9, p.z - 1.5, p.z + 1.5, p.colour);
    AddBlock(mesh, p.x - 2, p.x + 2, 9, 10, p.z - 2, p.z + 2, {1, 1, 1, kGlow, kWallTexture});
  }
  const Colour orange{1.0, 0.55, 0.15, kGlow, kWallTexture}, purple{0.72, 0.38, 0.98, kGlow, kWallTexture};
  const Colour teal{0.15, 0.8, 0.8, kGlow, kWallTexture}, stone{0.86, 0.8, 0.66, kGlow, kWallTexture};
  AddBlock(mesh, 39, 41, y0, 7, 5, 7, orange);
  AddBlock(mesh, 59, 61, y0, 7, 5, 7, orange);
  AddBlock(mesh, 37, 63, 7, 9, 4.5, 7.5, orange);
  AddBlock(mesh, n + 6, n + 12, y0, 6, -53, -47, purple);
  AddBlock(mesh, n + 7, n + 11, 6, 10, -52, -48, purple);
  AddBlock(mesh, n + 6, n + 9, y0, 3, -28, -25, purple);
  AddBlock(mesh, n + 6, n + 9, y0, 3, -75, -72, purple);
  AddBlock(mesh, 30, 70, y0, 3, -n - 9, -n - 7, teal);
  AddBlock(mesh, 48, 52, y0, 12, -n - 12, -n - 8, teal);
  AddPyramid(mesh, -14, -50, 7, 10, stone);
  AddBlock(mesh, -8, -6, y0, 5, -26, -24, stone);
  AddBlock(mesh, -8, -6, y0, 5, -76, -74, stone);
  return mesh;
}

}  // namespace

void WriteArena(const std::string& folder) {
  WriteTextures(folder);
  WriteFile(folder + "/back1.x", XFileText("Arena", {Floor(), Kerb(), Ground(), Landmarks()}));
}

}  // namespace brawl
