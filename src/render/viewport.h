#pragma once
#include <cstdint>
#include <vector>

#include "gfx/surface.h"
#include "render/scene.h"
#include "render/triangle_scan.h"

namespace brawl {

// A vertex in camera space with its projection; the projection is valid only when the
// vertex lies behind the front plane.
struct ViewVertex {
  float x = 0, y = 0, z = 0;
  ScreenVertex screen;
};

// A mesh texture as it shows at one light, made when first drawn and kept while the
// picture and the light stay the same: the light costs nothing per pixel.
struct LitTexture {
  const uint16_t* source = nullptr;
  int width = 0, height = 0;
  uint32_t light = 0;  // 0xRRGGBB
  Surface image;
};

// What the renderer keeps between frames: a depth value per back-buffer pixel and
// scratch space, all sized once so that drawing a frame allocates nothing.
struct Device3D {
  int width = 0;
  int height = 0;
  std::vector<float> depth;      // 1/z; larger is nearer
  std::vector<ViewVertex> view;  // scratch: mesh vertices in camera space
  std::vector<uint16_t> material_colors;
  std::vector<int> material_textures;  // into lit_textures; -1 for a flat colour
  std::vector<LitTexture> lit_textures;
  std::vector<int> texel_columns;
};

// A rectangle of the back buffer that shows the scene through a camera frame.
// `field` is the half-extent of the view at the front plane, across the smaller side.
struct Viewport3D {
  int left = 0, top = 0, width = 0, height = 0;
  NodeId camera = -1;
  float field = 0.5f;
  float front = 1.0f;
  float back = 100.0f;
};

Device3D CreateDevice(int width, int height);
Viewport3D CreateViewport(NodeId camera, int left, int top, int width, int height);
// Fills the viewport's rectangle with the scene background and resets its depth.
void Clear(const Viewport3D& viewport, const Scene& scene, Device3D& device, Surface& target);
// Draws every frame's visual through the viewport's camera, depth-tested: one colour per
// face, or the face's texture at the face's light, perspective-correct.
void Render(const Viewport3D& viewport, const Scene& scene, Device3D& device, Surface& target);

}  // namespace brawl
