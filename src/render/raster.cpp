#include "render/raster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace brawl {

namespace {

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

}  // namespace

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

void FillTriangle(const RasterTarget& target, const ScreenVertex& a, const ScreenVertex& b,
                  const ScreenVertex& c, uint16_t color) {
  float* const depth = target.depth;
  uint16_t* const pixels = target.pixels;
  const ptrdiff_t stride = target.stride;
  ScanTriangle(a, b, c, target.rect, [=](int y, int x_begin, int x_end, float iz, float step) {
    const ptrdiff_t row = y * stride + x_begin;
    FillSpan(depth + row, pixels + row, x_end - x_begin, iz, step, color);
  });
}

void TextureTriangle(const RasterTarget& target, const ScreenVertex& a, const ScreenVertex& b,
                     const ScreenVertex& c, const Surface& texture) {
  // u/z and v/z are linear over the screen where u and v are not.
  const ScreenPlane uz = PlaneThrough(a, b, c, double(a.u) * a.iz, double(b.u) * b.iz, double(c.u) * c.iz);
  const ScreenPlane vz = PlaneThrough(a, b, c, double(a.v) * a.iz, double(b.v) * b.iz, double(c.v) * c.iz);
  float* const depth = target.depth;
  uint16_t* const pixels = target.pixels;
  const ptrdiff_t stride = target.stride;
  ScanTriangle(a, b, c, target.rect, [&](int y, int x_begin, int x_end, float iz, float step) {
    const ptrdiff_t row = y * stride + x_begin;
    const double xc = x_begin + 0.5, yc = y + 0.5;
    const TexturePlanes planes{uz.At(xc, yc), uz.dx, vz.At(xc, yc), vz.dx};
    TextureSpan(depth + row, pixels + row, x_end - x_begin, iz, step, planes, texture);
  });
}

}  // namespace brawl
