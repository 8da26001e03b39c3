#include "render/viewport.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "render/raster.h"

namespace brawl {

namespace {

struct Projection {
  float center_x, center_y, scale, front, back;

  ScreenVertex Project(float x, float y, float z) const {
    const float iz = 1.0f / z;
    return {center_x + scale * x * iz, center_y - scale * y * iz, iz};
  }
};

// The part of the viewport that lies on the target.
PixelRect VisibleRect(const Viewport3D& viewport, const Surface& target) {
  PixelRect r;
  r.left = std::max(viewport.left, 0);
  r.top = std::max(viewport.top, 0);
  r.right = std::min(viewport.left + std::max(viewport.width, 0), target.width);
  r.bottom = std::min(viewport.top + std::max(viewport.height, 0), target.height);
  return r;
}

bool Empty(const PixelRect& r) {
  return r.left >= r.right || r.top >= r.bottom;
}

void FitDevice(Device3D& device, const Surface& target) {
  if (device.width == target.width && device.height == target.height) return;
  device = CreateDevice(target.width, target.height);
}

float Dot(const Vec3& a, const Vec3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Maps a pose's own coordinates to the camera's: row i is (axis_i . pose axes, offset).
struct ToView {
  float m[3][4];

  ToView(const Pose& pose, const Pose& camera) {
    const Vec3 axes[3] = {camera.x_axis, camera.y_axis, camera.z_axis};
    const Vec3 offset{pose.position.x - camera.position.x, pose.position.y - camera.position.y,
                      pose.position.z - camera.position.z};
    for (int i = 0; i < 3; ++i) {
      m[i][0] = Dot(pose.x_axis, axes[i]);
      m[i][1] = Dot(pose.y_axis, axes[i]);
      m[i][2] = Dot(pose.z_axis, axes[i]);
      m[i][3] = Dot(offset, axes[i]);
    }
  }

  template <typename Point>
  void Apply(const Point& p, float out[3]) const {
    for (int i = 0; i < 3; ++i) out[i] = m[i][0] * p.x + m[i][1] * p.y + m[i][2] * p.z + m[i][3];
  }
};

// 0xRRGGBB: a flat face's colour, and what a textured face's texels are multiplied by.
uint32_t LitRgb(const Material& material, const float ambient[3]) {
  uint32_t rgb = 0;
  for (int i = 0; i < 3; ++i) {
    const float c = std::clamp(material.face_color[i] * ambient[i] + material.emissive[i], 0.0f, 1.0f);
    rgb = (rgb << 8) | static_cast<uint32_t>(std::nearbyint(c * 255.0f));
  }
  return rgb;
}

Surface LightTexture(const Surface& source, uint32_t light) {
  Surface lit = MakeSurface(source.width, source.height);
  const uint32_t r = light >> 16, g = (light >> 8) & 0xFF, b = light & 0xFF;
  for (size_t i = 0; i < source.pixels.size(); ++i) {
    const uint32_t t = source.pixels[i];
    const uint32_t tr = (t >> 11) * r, tg = ((t >> 5) & 0x3F) * g, tb = (t & 0x1F) * b;
    lit.pixels[i] =
        static_cast<uint16_t>(((tr + 127) / 255) << 11 | ((tg + 127) / 255) << 5 | (tb + 127) / 255);
  }
  return lit;
}

// The lit copy of the texture, made at its first use; only a change of picture or light
// makes another.
int LitTextureIndex(Device3D& device, const Surface& source, uint32_t light) {
  std::vector<LitTexture>& cache = device.lit_textures;
  for (size_t i = 0; i < cache.size(); ++i) {
    const LitTexture& t = cache[i];
    if (t.source == source.pixels.data() && t.width == source.width && t.height == source.height &&
        t.light == light)
      return static_cast<int>(i);
  }
  cache.push_back({source.pixels.data(), source.width, source.height, light, LightTexture(source, light)});
  return static_cast<int>(cache.size() - 1);
}

// What a face is drawn with: its texture when it has one, else its colour.
struct FaceLook {
  uint16_t color = 0;
  const Surface* texture = nullptr;
};

void DrawFace(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, const FaceLook& look,
              const RasterTarget& target) {
  if (look.texture)
    TextureTriangle(target, a, b, c, *look.texture);
  else
    FillTriangle(target, a, b, c, look.color);
}

// Cuts the triangle at the front plane and draws what lies behind it.
void DrawClipped(const ViewVertex* const corners[3], const Projection& proj, const FaceLook& look,
                 const RasterTarget& target) {
  ScreenVertex polygon[4];
  int count = 0;
  for (int i = 0; i < 3; ++i) {
    const ViewVertex& p = *corners[i];
    const ViewVertex& q = *corners[(i + 1) % 3];
    const bool p_in = p.z >= proj.front, q_in = q.z >= proj.front;
    if (p_in) polygon[count++] = p.screen;
    if (p_in != q_in) {
      // Always from the inner end, so that a neighbour sharing the edge cuts it alike.
      const ViewVertex& in = p_in ? p : q;
      const ViewVertex& out = p_in ? q : p;
      const float t = (proj.front - in.z) / (out.z - in.z);
      ScreenVertex& cut = polygon[count++];
      cut = proj.Project(in.x + t * (out.x - in.x), in.y + t * (out.y - in.y), proj.front);
      cut.u = in.screen.u + t * (out.screen.u - in.screen.u);
      cut.v = in.screen.v + t * (out.screen.v - in.screen.v);
    }
  }
  for (int i = 2; i < count; ++i) DrawFace(polygon[0], polygon[i - 1], polygon[i], look, target);
}

void DrawMesh(const Mesh& mesh, const ToView& to_view, const Scene& scene, const Projection& proj,
              Device3D& device, const RasterTarget& target) {
  const size_t n = mesh.vertices.size();
  if (device.view.size() < n) device.view.resize(n);  // grows once, at the first frame
  ViewVertex* view = device.view.data();
  for (size_t i = 0; i < n; ++i) {
    float v[3];
    to_view.Apply(mesh.vertices[i], v);
    view[i].x = v[0];
    view[i].y = v[1];
    view[i].z = v[2];
    if (v[2] >= proj.front) view[i].screen = proj.Project(v[0], v[1], v[2]);
    const TexCoord uv = i < mesh.uv.size() ? mesh.uv[i] : TexCoord{};
    view[i].screen.u = uv.u;
    view[i].screen.v = uv.v;
  }
  const size_t materials = mesh.materials.size();
  if (device.material_colors.size() < materials) {
    device.material_colors.resize(materials);
    device.material_textures.resize(materials);
  }
  // Copies for pictures or lights no longer drawn are let go rather than kept without end.
  constexpr size_t kMaxLitTextures = 256;
  if (device.lit_textures.size() + materials > kMaxLitTextures) device.lit_textures.clear();
  for (size_t i = 0; i < materials; ++i) {
    const Material& m = mesh.materials[i];
    const uint32_t light = LitRgb(m, scene.ambient);
    device.material_colors[i] = Rgb565(light);
    device.material_textures[i] = -1;
    if (m.image < 0 || static_cast<size_t>(m.image) >= mesh.textures.size()) continue;
    const Surface& picture = mesh.textures[static_cast<size_t>(m.image)];
    // Texel positions are worked out in 16-bit lanes; the bitmap reader stops far below.
    const bool usable = picture.width > 0 && picture.height > 0 && picture.width <= 0xFFFF &&
                        picture.height <= 0xFFFF &&
                        picture.pixels.size() == static_cast<size_t>(picture.width) * picture.height;
    if (usable) device.material_textures[i] = LitTextureIndex(device, picture, light);
  }

  for (const Triangle& t : mesh.triangles) {
    if (t.v[0] >= n || t.v[1] >= n || t.v[2] >= n || t.material >= mesh.materials.size()) continue;
    const ViewVertex* const corners[3] = {&view[t.v[0]], &view[t.v[1]], &view[t.v[2]]};
    const float z0 = corners[0]->z, z1 = corners[1]->z, z2 = corners[2]->z;
    const int inside = (z0 >= proj.front) + (z1 >= proj.front) + (z2 >= proj.front);
    if (inside == 0) continue;
    if (z0 > proj.back && z1 > proj.back && z2 > proj.back) continue;
    FaceLook look;
    look.color = device.material_colors[t.material];
    if (const int lit = device.material_textures[t.material]; lit >= 0)
      look.texture = &device.lit_textures[static_cast<size_t>(lit)].image;
    if (inside == 3)
      DrawFace(corners[0]->screen, corners[1]->screen, corners[2]->screen, look, target);
    else
      DrawClipped(corners, proj, look, target);
  }
}

void DrawDecal(const Decal& decal, const ToView& to_view, const Projection& proj, Device3D& device,
               const RasterTarget& target) {
  const Surface& texture = decal.texture;
  if (texture.width <= 0 || texture.height <= 0) return;
  float v[3];
  to_view.Apply(Vec3{}, v);
  if (!(v[2] >= proj.front && v[2] <= proj.back)) return;
  const ScreenVertex corner = proj.Project(v[0], v[1], v[2]);
  const float width = proj.scale * decal.width * corner.iz;
  const float height = proj.scale * decal.height * corner.iz;
  if (!(width > 0 && height > 0)) return;
  const PixelRect& rect = target.rect;
  const int x_begin = scan_detail::CeilWithin(corner.x - 0.5f, rect.left, rect.right);
  const int x_end = scan_detail::CeilWithin(corner.x + width - 0.5f, rect.left, rect.right);
  const int y_begin = scan_detail::CeilWithin(corner.y - 0.5f, rect.top, rect.bottom);
  const int y_end = scan_detail::CeilWithin(corner.y + height - 0.5f, rect.top, rect.bottom);
  if (x_begin >= x_end || y_begin >= y_end) return;

  // Nearest texel of each column, worked out once for all rows.
  int* columns = device.texel_columns.data();
  const float u_scale = static_cast<float>(texture.width) / width;
  for (int x = x_begin; x < x_end; ++x) {
    const int u = static_cast<int>((static_cast<float>(x) + 0.5f - corner.x) * u_scale);
    columns[x - x_begin] = std::clamp(u, 0, texture.width - 1);
  }
  const float v_scale = static_cast<float>(texture.height) / height;
  const float iz = corner.iz;
  const bool keyed = decal.transparent;
  const uint16_t key = decal.transparent_color;
  const int count = x_end - x_begin;
  for (int y = y_begin; y < y_end; ++y) {
    const int row = std::clamp(static_cast<int>((static_cast<float>(y) + 0.5f - corner.y) * v_scale), 0,
                               texture.height - 1);
    const uint16_t* texels = texture.pixels.data() + static_cast<ptrdiff_t>(row) * texture.width;
    float* d = target.depth + static_cast<ptrdiff_t>(y) * target.stride + x_begin;
    uint16_t* p = target.pixels + static_cast<ptrdiff_t>(y) * target.stride + x_begin;
    // Without a branch per pixel: most texels of a splash are see-through, in no order.
    for (int i = 0; i < count; ++i) {
      const uint16_t texel = texels[columns[i]];
      const bool shown = ((texel != key) | !keyed) & (iz > d[i]);
      d[i] = shown ? iz : d[i];
      p[i] = shown ? texel : p[i];
    }
  }
}

}  // namespace

Device3D CreateDevice(int width, int height) {
  Device3D device;
  device.width = std::max(width, 0);
  device.height = std::max(height, 0);
  device.depth.assign(static_cast<size_t>(device.width) * device.height, 0.0f);
  device.texel_columns.assign(static_cast<size_t>(device.width), 0);
  return device;
}

Viewport3D CreateViewport(NodeId camera, int left, int top, int width, int height) {
  Viewport3D viewport;
  viewport.camera = camera;
  viewport.left = left;
  viewport.top = top;
  viewport.width = width;
  viewport.height = height;
  return viewport;
}

void Clear(const Viewport3D& viewport, const Scene& scene, Device3D& device, Surface& target) {
  const PixelRect r = VisibleRect(viewport, target);
  if (Empty(r)) return;
  FitDevice(device, target);
  const uint16_t color = Rgb565(scene.background);
  // Depth starts at the back plane, so nothing beyond it is drawn.
  const float far_depth = 1.0f / viewport.back;
  for (int y = r.top; y < r.bottom; ++y) {
    const ptrdiff_t row = static_cast<ptrdiff_t>(y) * target.width;
    FillRow(target.pixels.data() + row + r.left, r.right - r.left, color);
    FillRow(device.depth.data() + row + r.left, r.right - r.left, far_depth);
  }
}

void Render(const Viewport3D& viewport, const Scene& scene, Device3D& device, Surface& target) {
  const PixelRect r = VisibleRect(viewport, target);
  if (Empty(r)) return;
  if (viewport.camera < 0 || static_cast<size_t>(viewport.camera) >= scene.nodes.size()) return;
  if (!(viewport.front > 0 && viewport.field > 0)) return;
  FitDevice(device, target);
  const Pose& camera = scene.nodes[static_cast<size_t>(viewport.camera)].pose;
  Projection proj;
  proj.center_x = static_cast<float>(viewport.left) + static_cast<float>(viewport.width) * 0.5f;
  proj.center_y = static_cast<float>(viewport.top) + static_cast<float>(viewport.height) * 0.5f;
  proj.scale =
      static_cast<float>(std::min(viewport.width, viewport.height)) * 0.5f * viewport.front / viewport.field;
  proj.front = viewport.front;
  proj.back = viewport.back;
  const RasterTarget raster{device.depth.data(), target.pixels.data(), target.width, r};

  for (const SceneNode& node : scene.nodes) {
    if (node.visual < 0 || static_cast<size_t>(node.visual) >= scene.visuals.size()) continue;
    const Visual& visual = scene.visuals[static_cast<size_t>(node.visual)];
    const ToView to_view(node.pose, camera);
    if (visual.kind == VisualKind::kMesh)
      DrawMesh(scene.meshes[static_cast<size_t>(visual.index)], to_view, scene, proj, device, raster);
    else
      DrawDecal(scene.decals[static_cast<size_t>(visual.index)], to_view, proj, device, raster);
  }
}

}  // namespace brawl
