#include <gtest/gtest.h>

#include <cmath>

#include "platform/scene/viewport.h"
#include "support/golden.h"

namespace brawl {

namespace {

constexpr uint16_t kRed = Rgb565(0xFF0000), kGreen = Rgb565(0x00FF00), kBlue = Rgb565(0x0000FF);

// A scene seen from the origin along +z, the camera level: through a 64 x 64 viewport a
// point (x, y, z) lands on pixel (32 + 64 x / z, 32 - 64 y / z).
struct View {
  Scene scene;
  Surface target;
  Device3D device;
  Viewport3D viewport;

  View(int width, int height, float light)
      : target(MakeSurface(width, height)), device(CreateDevice(width, height)) {
    viewport = CreateViewport(CreateFrame(scene), 0, 0, width, height);
    SetSceneBackground(scene, 0x000000);
    AddAmbientLight(scene, light, light, light);
  }

  void Add(Mesh mesh) { AddVisual(scene, CreateFrame(scene), CreateMeshVisual(scene, std::move(mesh))); }

  const Surface& Draw() {
    Clear(viewport, scene, device, target);
    Render(viewport, scene, device, target);
    return target;
  }

  uint16_t At(int x, int y) const { return target.pixels[static_cast<size_t>(y * target.width + x)]; }
};

Surface Texture(int width, int height, std::initializer_list<uint16_t> texels) {
  Surface s = MakeSurface(width, height);
  s.pixels.assign(texels);
  return s;
}

// A quad with the given corners and texture coordinates, showing `texture` in white.
Mesh TexturedQuad(std::initializer_list<Vec3> corners, std::initializer_list<TexCoord> uv, Surface texture) {
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
    View view(64, 64, 1.0f);
    view.Add(FacingSquare(u0, Texture(3, 1, {kRed, kGreen, kBlue})));
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
  View view(width, height, 1.0f);
  view.scene.frames[0].position.y = 1.0f;
  view.Add(TexturedQuad({{-40, 0, 1.5f}, {-20, 0, 90}, {60, 0, 80}, {40, 0, -10}},
                        {{0, 0}, {10, 44.5f}, {50, 39.5f}, {40, -5}}, std::move(tile)));
  return view.Draw();
}

TEST(TexturedFaces, GrazingFloorAt320x240) {
  EXPECT_TRUE(MatchesGolden(GrazingFloor(320, 240), "textured_floor_320.png"));
}

TEST(TexturedFaces, GrazingFloorAt640x480) {
  EXPECT_TRUE(MatchesGolden(GrazingFloor(640, 480), "textured_floor_640.png"));
}

}  // namespace

}  // namespace brawl
