#include "platform/scene/frame.h"

#include <cmath>

#include "platform/scene/scene.h"

namespace brawl {

FrameId CreateFrame(Scene& scene) {
  scene.frames.emplace_back();
  return static_cast<FrameId>(scene.frames.size() - 1);
}

void SetPosition(Frame& frame, float x, float y, float z) {
  frame.position = {x, y, z};
}

void LookAt(Frame& frame, const Frame& target) {
  // Worked in double from the float positions, each axis rounded once to float, so that
  // every machine aims the same to the bit.
  const double dx = double(target.position.x) - double(frame.position.x);
  const double dy = double(target.position.y) - double(frame.position.y);
  const double dz = double(target.position.z) - double(frame.position.z);
  const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
  if (length == 0) return;
  const double zx = dx / length, zy = dy / length, zz = dz / length;
  const double ground = std::sqrt(zx * zx + zz * zz);
  if (ground == 0) return;  // straight up or down: no heading to keep the frame level by
  const double xx = zz / ground, xy = 0.0, xz = -zx / ground;
  // y = z cross x
  const double yx = zy * xz - zz * xy;
  const double yy = zz * xx - zx * xz;
  const double yz = zx * xy - zy * xx;
  frame.z_axis = {float(zx), float(zy), float(zz)};
  frame.x_axis = {float(xx), float(xy), float(xz)};
  frame.y_axis = {float(yx), float(yy), float(yz)};
}

void GetOrientation(const Frame& frame, Vec3& direction, Vec3& up) {
  direction = frame.z_axis;
  up = frame.y_axis;
}

}  // namespace brawl
