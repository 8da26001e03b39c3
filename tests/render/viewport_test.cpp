#include "render/viewport.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/golden.h"

namespace brawl {

namespace {

constexpr uint16_t kSentinel = 0x1234;
constexpr uint32_t kBackground = 0x7070E0;

// A scene seen from the origin along +z through a 64 x 64 viewport: a point (x, y, z)
// lands on pixel (32 + 64 x / z, 32 - 64 y / z).
struct Fixture {
  Scene scene;
  NodeId camera;
  Surface target;
  Device3D device;
  Viewport3D viewport;

  explicit Fixture(int width = 64, int height = 64, uint32_t background = kBackground)
      : target(MakeSurface(width, height)), device(CreateDevice(width, height)) {
    camera = CreateNode(scene);
    viewport = CreateViewport(camera, 0, 0, width, height);
    SetSceneBackground(scene, background);
    AddAmbientLight(scene, 1.0f, 1.0f, 1.0f);
    std::fill(target.pixels.begin(), target.pixels.end(), kSentinel);
  }

  uint16_t At(int x, int y) const { return target.pixels[static_cast<size_t>(y * target.width + x)]; }

  const Surface& Draw() {
    Clear(viewport, scene, device, target);
    Render(viewport, scene, device, target);
    return target;
  }

  NodeId AddMesh(Mesh mesh) {
    const NodeId node = CreateNode(scene);
    AddVisual(scene, node, CreateMeshVisual(scene, std::move(mesh)));
    return node;
  }

  NodeId AddDecal(Surface texture, float x, float y, float z, bool keyed) {
    const NodeId node = CreateNode(scene);
    const VisualId decal = CreateDecal(scene, std::move(texture));
    SetDecalTransparency(scene, decal, keyed);
    SetDecalTransparentColor(scene, decal, 0);
    SetDecalSize(scene, decal, 1.0f, 1.0f);
    AddVisual(scene, node, decal);
    SetPosition(scene.nodes[static_cast<size_t>(node)].pose, x, y, z);
    return node;
  }
};

Material Colored(float r, float g, float b) {
  Material m;
  m.face_color[0] = r;
  m.face_color[1] = g;
  m.face_color[2] = b;
  return m;
}

// A square facing the camera at depth z, half-size h, centred on (cx, cy).
Mesh Square(float cx, float cy, float z, float h, Material material) {
  Mesh mesh;
  mesh.vertices = {{cx - h, cy + h, z}, {cx + h, cy + h, z}, {cx + h, cy - h, z}, {cx - h, cy - h, z}};
  mesh.triangles = {{{0, 1, 2}, 0}, {{0, 2, 3}, 0}};
  mesh.materials = {material};
  return mesh;
}

// Each view clearing its own rectangle shows in the split-screen golden pictures.
TEST(Viewport, ClearResetsDepth) {
  Fixture f;
  // A near square drawn, then cleared: a far one must show again.
  const NodeId near = f.AddMesh(Square(0, 0, 2, 1, Colored(1, 0, 0)));
  f.Draw();
  EXPECT_EQ(f.At(32, 32), Rgb565(0xFF0000));
  f.scene.nodes[static_cast<size_t>(near)].visual = -1;
  f.AddMesh(Square(0, 0, 50, 20, Colored(0, 1, 0)));
  f.Draw();
  EXPECT_EQ(f.At(32, 32), Rgb565(0x00FF00));
}

// Textured faces: a texture of three texels, and a floor seen low over it.
constexpr uint16_t kRed = Rgb565(0xFF0000), kGreen = Rgb565(0x00FF00), kBlue = Rgb565(0x0000FF);

Surface Texture(int width, int height, std::initializer_list<uint16_t> texels) {
  Surface s = MakeSurface(width, height);
  s.pixels.assign(texels);
  return s;
}

// A quad with the given corners and texture coordinates, showing `texture` in white.
Mesh TexturedQuad(std::initializer_list<MeshVertex> corners, std::initializer_list<TexCoord> uv,
                  Surface texture) {
  Mesh mesh;
  mesh.vertices = corners;
  mesh.uv = uv;
  mesh.triangles = {{{0, 1, 2}, 0}, {{0, 2, 3}, 0}};
  mesh.materials.resize(1);
  mesh.materials[0].image = 0;
  mesh.textures.push_back(std::move(texture));
  return mesh;
}

// A square facing the camera at z = 2 covering pixels 16 to 47, u running from u0 to
// u0 + 2 left to right.
Mesh FacingSquare(float u0, Surface texture) {
  return TexturedQuad({{-0.5f, 0.5f, 2}, {0.5f, 0.5f, 2}, {0.5f, -0.5f, 2}, {-0.5f, -0.5f, 2}},
                      {{u0, 0}, {u0 + 2, 0}, {u0 + 2, 1}, {u0, 1}}, std::move(texture));
}

// Outside 0..1 the picture repeats, whatever its width: three texels across, twice.
TEST(TexturedFaces, CoordinatesWrapForAnyTextureSize) {
  const uint16_t texels[] = {kRed, kGreen, kBlue};
  for (const float u0 : {0.0f, -1.0f, -7.25f, 1000.5f}) {
    Fixture view(64, 64, 0x000000);
    view.AddMesh(FacingSquare(u0, Texture(3, 1, {kRed, kGreen, kBlue})));
    view.Draw();
    for (int x = 16; x < 48; ++x) {
      const double t = ((x + 0.5 - 16) / 32 * 2 + u0) * 3;  // in texels
      if (std::fabs(t - std::round(t)) < 0.1) continue;     // too near a texel's edge to judge
      const int texel = ((static_cast<int>(std::floor(t)) % 3) + 3) % 3;
      ASSERT_EQ(view.At(x, 32), texels[texel]) << "u0 " << u0 << ", x " << x;
    }
    EXPECT_EQ(view.At(15, 32), 0) << u0;
    EXPECT_EQ(view.At(48, 32), 0) << u0;
  }
}

// A checked floor with a diagonal stripe to each tile, seen low over it: the
// case where mapping without the divide bends lines and tiles.
Surface GrazingFloor(int width, int height) {
  Surface tile = MakeSurface(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool light = (x < 8) == (y < 8);
      tile.pixels[static_cast<size_t>(y * 16 + x)] = x == y  ? Rgb565(0xE04020)
                                                     : light ? Rgb565(0xE0E0D0)
                                                             : Rgb565(0x405070);
    }
  Fixture view(width, height, 0x000000);
  view.scene.nodes[0].pose.position.y = 1.0f;
  view.AddMesh(TexturedQuad({{-40, 0, 1.5f}, {-20, 0, 90}, {60, 0, 80}, {40, 0, -10}},
                            {{0, 0}, {10, 44.5f}, {50, 39.5f}, {40, -5}}, std::move(tile)));
  return view.Draw();
}

TEST(TexturedFaces, GrazingFloorAtBothSizes) {
  EXPECT_TRUE(MatchesGolden(GrazingFloor(320, 240), "textured_floor_320.png"));
  EXPECT_TRUE(MatchesGolden(GrazingFloor(640, 480), "textured_floor_640.png"));
}

}  // namespace

}  // namespace brawl
