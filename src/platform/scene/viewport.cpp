#include "platform/scene/viewport.h"

#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Maps a frame's own coordinates to the camera's: row i is (axis_i . frame axes, offset).
struct ToView {
  float m[3][4];

  ToView(const Frame& frame, const Frame& camera) {
    const Vec3 axes[3] = {camera.x_axis, camera.y_axis, camera.z_axis};
    const Vec3 offset{frame.position.x - camera.position.x, frame.position.y - camera.position.y,
                      frame.position.z - camera.position.z};
    for (int i = 0; i < 3; ++i) {
      m[i][0] = Dot(frame.x_axis, axes[i]);
      m[i][1] = Dot(frame.y_axis, axes[i]);
      m[i][2] = Dot(frame.z_axis, axes[i]);
      m[i][3] = Dot(offset, axes[i]);
    }
  }

  void Apply(const Vec3& p, float out[3]) const {
    for (int i = 0; i < 3; ++i) out[i] = m[i][0] * p.x + m[i][1] * p.y + m[i][2] * p.z + m[i][3];
  }
};

uint16_t LitColor(const Material& material, const float ambient[3]) {
  uint32_t rgb = 0;
  for (int i = 0; i < 3; ++i) {
    const float c = std::clamp(material.face_color[i] * ambient[i] + material.emissive[i], 0.0f, 1.0f);
    rgb = (rgb << 8) | static_cast<uint32_t>(std::nearbyint(c * 255.0f));
  }
  return Rgb565(rgb);
}

// Clearing is most of what a frame costs at its floor: sixteen bytes a store.
void FillRow(uint16_t* row, int count, uint16_t value) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i values = _mm_set1_epi16(static_cast<short>(value));
  for (; i + 8 <= count; i += 8) _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), values);
#endif
  for (; i < count; ++i) row[i] = value;
}

void FillRow(float* row, int count, float value) {
  int i = 0;
#if defined(__SSE2__)
  const __m128 values = _mm_set1_ps(value);
  for (; i + 4 <= count; i += 4) _mm_storeu_ps(row + i, values);
#endif
  for (; i < count; ++i) row[i] = value;
}

// One row of a face: every pixel nearer than what the row holds takes the face's colour.
void FillSpan(float* depth, uint16_t* pixels, int count, float iz, float step, uint16_t color) {
  int i = 0;
#if defined(__SSE2__)
  // Eight pixels at a time, without a branch per pixel.
  const __m128 steps_low = _mm_set_ps(3, 2, 1, 0), steps_high = _mm_set_ps(7, 6, 5, 4);
  const __m128 step1 = _mm_set1_ps(step);
  const __m128i colors = _mm_set1_epi16(static_cast<short>(color));
  for (; i + 8 <= count; i += 8) {
    const __m128 base = _mm_set1_ps(iz + static_cast<float>(i) * step);
    const __m128 z_low = _mm_add_ps(base, _mm_mul_ps(steps_low, step1));
    const __m128 z_high = _mm_add_ps(base, _mm_mul_ps(steps_high, step1));
    const __m128 d_low = _mm_loadu_ps(depth + i), d_high = _mm_loadu_ps(depth + i + 4);
    const __m128 near_low = _mm_cmpgt_ps(z_low, d_low), near_high = _mm_cmpgt_ps(z_high, d_high);
    _mm_storeu_ps(depth + i, _mm_or_ps(_mm_and_ps(near_low, z_low), _mm_andnot_ps(near_low, d_low)));
    _mm_storeu_ps(depth + i + 4, _mm_or_ps(_mm_and_ps(near_high, z_high), _mm_andnot_ps(near_high, d_high)));
    const __m128i mask = _mm_packs_epi32(_mm_castps_si128(near_low), _mm_castps_si128(near_high));
    __m128i* out = reinterpret_cast<__m128i*>(pixels + i);
    const __m128i old = _mm_loadu_si128(out);
    _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(mask, colors), _mm_andnot_si128(mask, old)));
  }
#endif
  for (; i < count; ++i) {
    const float z = iz + static_cast<float>(i) * step;
    if (z > depth[i]) {
      depth[i] = z;
      pixels[i] = color;
    }
  }
}

class Painter {
 public:
  Painter(Device3D& device, Surface& target, const PixelRect& rect)
      : depth_(device.depth.data()), pixels_(target.pixels.data()), stride_(target.width), rect_(rect) {}

  void Triangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, uint16_t color) {
    float* const depth = depth_;
    uint16_t* const pixels = pixels_;
    const ptrdiff_t stride = stride_;
    ScanTriangle(a, b, c, rect_, [=](int y, int x_begin, int x_end, float iz, float step) {
      const ptrdiff_t row = y * stride + x_begin;
      FillSpan(depth + row, pixels + row, x_end - x_begin, iz, step, color);
    });
  }

  float* depth_;
  uint16_t* pixels_;
  int stride_;
  PixelRect rect_;
};

// Cuts the triangle at the front plane and draws what lies behind it.
void DrawClipped(const ViewVertex* const corners[3], const Projection& proj, uint16_t color,
                 Painter& painter) {
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
      polygon[count++] = proj.Project(in.x + t * (out.x - in.x), in.y + t * (out.y - in.y), proj.front);
    }
  }
  for (int i = 2; i < count; ++i) painter.Triangle(polygon[0], polygon[i - 1], polygon[i], color);
}

void DrawMesh(const Mesh& mesh, const ToView& to_view, const Scene& scene, const Projection& proj,
              Device3D& device, Painter& painter) {
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
  }
  if (device.material_colors.size() < mesh.materials.size())
    device.material_colors.resize(mesh.materials.size());
  for (size_t i = 0; i < mesh.materials.size(); ++i)
    device.material_colors[i] = LitColor(mesh.materials[i], scene.ambient);

  for (const Triangle& t : mesh.triangles) {
    if (t.v[0] >= n || t.v[1] >= n || t.v[2] >= n || t.material >= mesh.materials.size()) continue;
    const ViewVertex* const corners[3] = {&view[t.v[0]], &view[t.v[1]], &view[t.v[2]]};
    const float z0 = corners[0]->z, z1 = corners[1]->z, z2 = corners[2]->z;
    const int inside = (z0 >= proj.front) + (z1 >= proj.front) + (z2 >= proj.front);
    if (inside == 0) continue;
    if (z0 > proj.back && z1 > proj.back && z2 > proj.back) continue;
    const uint16_t color = device.material_colors[t.material];
    if (inside == 3)
      painter.Triangle(corners[0]->screen, corners[1]->screen, corners[2]->screen, color);
    else
      DrawClipped(corners, proj, color, painter);
  }
}

void DrawDecal(const Decal& decal, const ToView& to_view, const Projection& proj, Device3D& device,
               Painter& painter) {
  const Surface& texture = decal.texture;
  if (texture.width <= 0 || texture.height <= 0) return;
  float v[3];
  to_view.Apply(Vec3{0, 0, 0}, v);
  if (!(v[2] >= proj.front && v[2] <= proj.back)) return;
  const ScreenVertex corner = proj.Project(v[0], v[1], v[2]);
  const float width = proj.scale * decal.width * corner.iz;
  const float height = proj.scale * decal.height * corner.iz;
  if (!(width > 0 && height > 0)) return;
  const PixelRect& rect = painter.rect_;
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
    float* d = painter.depth_ + static_cast<ptrdiff_t>(y) * painter.stride_ + x_begin;
    uint16_t* p = painter.pixels_ + static_cast<ptrdiff_t>(y) * painter.stride_ + x_begin;
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

Viewport3D CreateViewport(FrameId camera, int left, int top, int width, int height) {
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
  if (viewport.camera < 0 || static_cast<size_t>(viewport.camera) >= scene.frames.size()) return;
  if (!(viewport.front > 0 && viewport.field > 0)) return;
  FitDevice(device, target);
  const Frame& camera = scene.frames[static_cast<size_t>(viewport.camera)];
  Projection proj;
  proj.center_x = static_cast<float>(viewport.left) + static_cast<float>(viewport.width) * 0.5f;
  proj.center_y = static_cast<float>(viewport.top) + static_cast<float>(viewport.height) * 0.5f;
  proj.scale =
      static_cast<float>(std::min(viewport.width, viewport.height)) * 0.5f * viewport.front / viewport.field;
  proj.front = viewport.front;
  proj.back = viewport.back;
  Painter painter(device, target, r);

  for (const Frame& frame : scene.frames) {
    if (frame.visual < 0 || static_cast<size_t>(frame.visual) >= scene.visuals.size()) continue;
    const Visual& visual = scene.visuals[static_cast<size_t>(frame.visual)];
    const ToView to_view(frame, camera);
    if (visual.kind == VisualKind::kMesh)
      DrawMesh(scene.meshes[static_cast<size_t>(visual.index)], to_view, scene, proj, device, painter);
    else
      DrawDecal(scene.decals[static_cast<size_t>(visual.index)], to_view, proj, device, painter);
  }
}

void Update(Device3D&) {}

}  // namespace brawl
