#pragma once

namespace brawl {

// A vector of three 32-bit floats.
struct Vec3 {
  float x = 0, y = 0, z = 0;
};

// A frame under the scene root: a position and three unit axes, all in scene
// coordinates (left-handed, Y up; z is where the frame looks, y its up).
struct Frame {
  Vec3 position;
  Vec3 x_axis{1, 0, 0};
  Vec3 y_axis{0, 1, 0};
  Vec3 z_axis{0, 0, 1};
  int visual = -1;  // index into Scene::visuals, -1 for none
};

void SetPosition(Frame& frame, float x, float y, float z);
// Turns `frame` so that its z axis points at the target's origin without rolling it.
// A target at the frame's own origin leaves the orientation as it was.
void LookAt(Frame& frame, const Frame& target);
void GetOrientation(const Frame& frame, Vec3& direction, Vec3& up);

}  // namespace brawl
