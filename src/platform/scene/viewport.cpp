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

#if defined(__SSE2__)
// Eight pixels from i on, without a branch per pixel: each one nearer than what the row
// holds takes its colour from `colors`.
inline void DepthTested8(float* depth, uint16_t* pixels, int i, float iz, float step, __m128i colors) {
  const __m128 steps_low = _mm_set_ps(3, 2, 1, 0), steps_high = _mm_set_ps(7, 6, 5, 4);
  const __m128 step1 = _mm_set1_ps(step);
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

// One row of a face: every pixel nearer than what the row holds takes the face's colour.
void FillSpan(float* depth, uint16_t* pixels, int count, float iz, float step, uint16_t color) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i colors = _mm_set1_epi16(static_cast<short>(color));
  for (; i + 8 <= count; i += 8) DepthTested8(depth, pixels, i, iz, step, colors);
#endif
  for (; i < count; ++i) {
    const float z = iz + static_cast<float>(i) * step;
    if (z > depth[i]) {
      depth[i] = z;
      pixels[i] = color;
    }
  }
}

// u/z and v/z at a span's first pixel and their steps along it.
struct TexturePlanes {
  double uz, duz, vz, dvz;
};

// A texture coordinate as a fixed-point fraction of the texture: the whole 32 bits are
// one repeat, so the picture wraps by itself as the sum overflows. The low 32 bits of the
// truncated value are the fraction, below zero too; beyond 2^31 repeats no fraction is
// left to keep (and a value that is not a number fails the test).
uint32_t WrappedFraction(double t) {
  if (!(std::fabs(t) < 2147483648.0)) return 0;
  return static_cast<uint32_t>(static_cast<int64_t>(t * 4294967296.0));
}

uint32_t FractionStep(double from, double to, double per_pixel) {
  // More than half a repeat a pixel shows noise either way; the clamp keeps it defined.
  const double step = (to - from) * per_pixel * 4294967296.0;
  if (!(step > -2147483648.0)) return 0x80000000u;
  if (!(step < 2147483647.0)) return 0x7FFFFFFFu;
  return static_cast<uint32_t>(static_cast<int32_t>(step));
}

// One row of a textured face. The perspective divide is made at the ends of runs of
// sixteen pixels; in between, u and v go in equal steps, which no eye can tell apart.
void TextureSpan(float* depth, uint16_t* pixels, int count, float iz, float step, const TexturePlanes& planes,
                 const Surface& texture) {
  constexpr int kRun = 16;
  // Short spans are the common case far out, so their set-up avoids a divide.
  static constexpr double kReciprocal[kRun + 1] = {0,       1,       1. / 2,  1. / 3,  1. / 4,  1. / 5,
                                                   1. / 6,  1. / 7,  1. / 8,  1. / 9,  1. / 10, 1. / 11,
                                                   1. / 12, 1. / 13, 1. / 14, 1. / 15, 1. / 16};
  const uint16_t* const texels = texture.pixels.data();
  const uint32_t width = static_cast<uint32_t>(texture.width), height = static_cast<uint32_t>(texture.height);
  auto perspective = [&](int i, double& u, double& v) {
    const double w = 1.0 / (double(iz) + double(i) * step);
    u = (planes.uz + i * planes.duz) * w;
    v = (planes.vz + i * planes.dvz) * w;
  };
  double u0, v0;
  perspective(0, u0, v0);
  for (int i = 0; i < count; i += kRun) {
    const int n = std::min(kRun, count - i);
    // The last run ends on its own last pixel, not one past the face's edge.
    const int end = n == kRun ? i + n : i + n - 1;
    double u1, v1;
    perspective(end, u1, v1);
    uint32_t u = WrappedFraction(u0), v = WrappedFraction(v0);
    const double per_pixel = kReciprocal[end - i];
    const uint32_t du = FractionStep(u0, u1, per_pixel), dv = FractionStep(v0, v1, per_pixel);
    // The texels first, then the depth test on whole runs at once. The top sixteen bits
    // of a fraction, scaled to the texture's side, pick the texel: any size wraps.
    int k = 0;
#if defined(__SSE2__)
    const __m128i u_lanes = _mm_set_epi32(static_cast<int>(u + 3 * du), static_cast<int>(u + 2 * du),
                                          static_cast<int>(u + du), static_cast<int>(u));
    const __m128i v_lanes = _mm_set_epi32(static_cast<int>(v + 3 * dv), static_cast<int>(v + 2 * dv),
                                          static_cast<int>(v + dv), static_cast<int>(v));
    const __m128i u_four = _mm_set1_epi32(static_cast<int>(4 * du)),
                  v_four = _mm_set1_epi32(static_cast<int>(4 * dv));
    const __m128i widths = _mm_set1_epi16(static_cast<short>(width));
    const __m128i heights = _mm_set1_epi16(static_cast<short>(height));
    __m128i u_low = u_lanes, v_low = v_lanes;
    for (; k + 8 <= n; k += 8) {
      const __m128i u_high = _mm_add_epi32(u_low, u_four), v_high = _mm_add_epi32(v_low, v_four);
      // An arithmetic shift keeps the top sixteen bits exactly, so the pack never saturates.
      const __m128i us = _mm_packs_epi32(_mm_srai_epi32(u_low, 16), _mm_srai_epi32(u_high, 16));
      const __m128i vs = _mm_packs_epi32(_mm_srai_epi32(v_low, 16), _mm_srai_epi32(v_high, 16));
      const __m128i columns = _mm_mulhi_epu16(us, widths), lines = _mm_mulhi_epu16(vs, heights);
      const __m128i row_low = _mm_mullo_epi16(lines, widths), row_high = _mm_mulhi_epu16(lines, widths);
      const __m128i zero = _mm_setzero_si128();
      alignas(16) uint32_t index[8];
      _mm_store_si128(reinterpret_cast<__m128i*>(index), _mm_add_epi32(_mm_unpacklo_epi16(row_low, row_high),
                                                                       _mm_unpacklo_epi16(columns, zero)));
      _mm_store_si128(
          reinterpret_cast<__m128i*>(index + 4),
          _mm_add_epi32(_mm_unpackhi_epi16(row_low, row_high), _mm_unpackhi_epi16(columns, zero)));
      // Gathered in two independent halves: inserting lane by lane would make one long chain.
      auto four = [&](const uint32_t* at) {
        return static_cast<long long>(uint64_t{texels[at[0]]} | uint64_t{texels[at[1]]} << 16 |
                                      uint64_t{texels[at[2]]} << 32 | uint64_t{texels[at[3]]} << 48);
      };
      const __m128i run = _mm_set_epi64x(four(index + 4), four(index));
      DepthTested8(depth, pixels, i + k, iz, step, run);
      u_low = _mm_add_epi32(u_high, u_four);
      v_low = _mm_add_epi32(v_high, v_four);
    }
    u += static_cast<uint32_t>(k) * du;
    v += static_cast<uint32_t>(k) * dv;
#endif
    for (; k < n; ++k) {
      const uint32_t column = ((u >> 16) * width) >> 16, line = ((v >> 16) * height) >> 16;
      const float z = iz + static_cast<float>(i + k) * step;
      if (z > depth[i + k]) {
        depth[i + k] = z;
        pixels[i + k] = texels[line * width + column];
      }
      u += du;
      v += dv;
    }
    u0 = u1;
    v0 = v1;
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

  void TexturedTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                        const Surface& texture) {
    // u/z and v/z are linear over the screen where u and v are not.
    const ScreenPlane uz = PlaneThrough(a, b, c, double(a.u) * a.iz, double(b.u) * b.iz, double(c.u) * c.iz);
    const ScreenPlane vz = PlaneThrough(a, b, c, double(a.v) * a.iz, double(b.v) * b.iz, double(c.v) * c.iz);
    float* const depth = depth_;
    uint16_t* const pixels = pixels_;
    const ptrdiff_t stride = stride_;
    ScanTriangle(a, b, c, rect_, [&](int y, int x_begin, int x_end, float iz, float step) {
      const ptrdiff_t row = y * stride + x_begin;
      const double xc = x_begin + 0.5, yc = y + 0.5;
      const TexturePlanes planes{uz.At(xc, yc), uz.dx, vz.At(xc, yc), vz.dx};
      TextureSpan(depth + row, pixels + row, x_end - x_begin, iz, step, planes, texture);
    });
  }

  float* depth_;
  uint16_t* pixels_;
  int stride_;
  PixelRect rect_;
};

// What a face is drawn with: its texture when it has one, else its colour.
struct FaceLook {
  uint16_t color = 0;
  const Surface* texture = nullptr;
};

void DrawFace(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, const FaceLook& look,
              Painter& painter) {
  if (look.texture)
    painter.TexturedTriangle(a, b, c, *look.texture);
  else
    painter.Triangle(a, b, c, look.color);
}

// Cuts the triangle at the front plane and draws what lies behind it.
void DrawClipped(const ViewVertex* const corners[3], const Projection& proj, const FaceLook& look,
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
      ScreenVertex& cut = polygon[count++];
      cut = proj.Project(in.x + t * (out.x - in.x), in.y + t * (out.y - in.y), proj.front);
      cut.u = in.screen.u + t * (out.screen.u - in.screen.u);
      cut.v = in.screen.v + t * (out.screen.v - in.screen.v);
    }
  }
  for (int i = 2; i < count; ++i) DrawFace(polygon[0], polygon[i - 1], polygon[i], look, painter);
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
      DrawFace(corners[0]->screen, corners[1]->screen, corners[2]->screen, look, painter);
    else
      DrawClipped(corners, proj, look, painter);
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
