#pragma once
#include <cstdint>
#include <vector>

#include "platform/scene/frame.h"

using FrameId = int;

// The retained 3-D world: every frame hangs under the root, and every placement is made
// in the root's coordinates.
struct Scene {
  std::vector<Frame> frames;
};

// A new frame at the root's origin, facing +z with y up.
FrameId CreateFrame(Scene& scene);
