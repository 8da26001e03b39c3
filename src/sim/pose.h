#pragma once

namespace brawl {

// A vector of three 32-bit floats.
struct Vec3 {
  float x = 0, y = 0, z = 0;
};

// Where something stands and where it looks: a position and three unit axes in the arena's
// coordinates (left-handed, Y up; z is where it looks, y its up).
struct Pose {
  Vec3 position;
  Vec3 x_axis{1, 0, 0};
  Vec3 y_axis{0, 1, 0};
  Vec3 z_axis{0, 0, 1};
};

void SetPosition(Pose& pose, float x, float y, float z);
// Turns `pose` so that its z axis points at the target's position without rolling it.
// A target at the pose's own position leaves the orientation as it was.
void LookAt(Pose& pose, const Pose& target);
void GetOrientation(const Pose& pose, Vec3& direction, Vec3& up);

}  // namespace brawl
