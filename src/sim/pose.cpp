#include "sim/pose.h"

#include <cmath>

namespace brawl {

void SetPosition(Pose& pose, float x, float y, float z) {
  pose.position = {x, y, z};
}

void LookAt(Pose& pose, const Pose& target) {
  // Worked in double from the float positions, each axis rounded once to float, so that
  // every machine aims the same to the bit.
  const double dx = double(target.position.x) - double(pose.position.x);
  const double dy = double(target.position.y) - double(pose.position.y);
  const double dz = double(target.position.z) - double(pose.position.z);
  const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
  if (length == 0) return;
  const double zx = dx / length, zy = dy / length, zz = dz / length;
  const double ground = std::sqrt(zx * zx + zz * zz);
  if (ground == 0) return;  // straight up or down: no heading to keep the pose level by
  const double xx = zz / ground, xy = 0.0, xz = -zx / ground;
  // y = z cross x
  const double yx = zy * xz - zz * xy;
  const double yy = zz * xx - zx * xz;
  const double yz = zx * xy - zy * xx;
  pose.z_axis = {float(zx), float(zy), float(zz)};
  pose.x_axis = {float(xx), float(xy), float(xz)};
  pose.y_axis = {float(yx), float(yy), float(yz)};
}

void GetOrientation(const Pose& pose, Vec3& direction, Vec3& up) {
  direction = pose.z_axis;
  up = pose.y_axis;
}

}  // namespace brawl
