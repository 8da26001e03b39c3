#include "render/viewport.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/golden.h"

namespace brawl {

namespace {

// A scene on black seen from the origin along +z through a width x height viewport.
struct Fixture {
  Scene scene;
  Surface target;
  Device3D device;
  Viewport3D viewport;

  Fixture(int width, int height) : target(MakeSurface(width, height)), device(CreateDevice(width, height)) {
    viewport = CreateViewport(CreateNode(scene), 0, 0, width, height);
    SetSceneBackground(scene, 0x000000);
    AddAmbientLight(scene, 1.0f, 1.0f, 1.0f);
  }

  uint16_t At(int x, int y) const { return target.pixels[static_cast<size_t>(y * target.width + x)]; }

  const Surface& Draw() {
    Clear(viewport, scene, device, target);
    Render(viewport, scene, device, target);
    return target;
  }

  void AddMesh(Mesh mesh) { AddVisual(scene, CreateNode(scene), CreateMeshVisual(scene, std::move(mesh))); }
};

// Each view clearing its own rectangle and depth shows in the split-screen golden pictures.
// Textured faces: a texture of three texels, and a floor seen low over it.
constexpr uint16_t kRed = Rgb565(0xFF0000), kGreen = Rgb565(0x00FF00), kBlue = Rgb565(0x0000FF);

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

// Outside 0..1 the picture repeats, whatever its width: three texels across, twice.
TEST(TexturedFaces, CoordinatesWrapForAnyTextureSize) {
  const uint16_t texels[] = {kRed, kGreen, kBlue};
  for (const float u0 : {0.0f, -1.0f, -7.25f, 1000.5f}) {
    // A square facing the camera at z = 2 covering pixels 16 to 47, u running from u0 to u0 + 2.
    Surface strip = MakeSurface(3, 1);
    strip.pixels.assign(std::begin(texels), std::end(texels));
    Fixture view(64, 64);
    view.AddMesh(TexturedQuad({{-0.5f, 0.5f, 2}, {0.5f, 0.5f, 2}, {0.5f, -0.5f, 2}, {-0.5f, -0.5f, 2}},
                              {{u0, 0}, {u0 + 2, 0}, {u0 + 2, 1}, {u0, 1}}, std::move(strip)));
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
  Fixture view(width, height);
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
