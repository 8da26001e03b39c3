#pragma once
#include "platform/scene/scene.h"
#include "platform/scene/viewport.h"
#include "platform/surface.h"
#include "sim/rules.h"

namespace brawl {

// The scene's frames that show the match: the renderer sets them from the match's own
// frames before it draws.
struct SceneFrames {
  FrameId Camera[2] = {-1, -1};
  FrameId FighterFrame[2] = {-1, -1};
  FrameId BulletFrame[2][kSlots] = {};
  FrameId BloodFrame[2][kSlots] = {};
};

// The pictures of the game: the back buffer and the overlay's bitmaps.
struct Graphics {
  int width = 0, height = 0;  // of the back buffer
  Surface BackBuffer;
  Font font;
  Surface TitleSurface, CursorSurface, LifeBarSurface[2], P1WinSurface, P2WinSurface;
  // The 3-D device drawing into BackBuffer, the two players' views, and the frames of
  // the scene.
  Device3D RMDevice;
  Viewport3D Viewport[2];
  SceneFrames frames;
  FrameId LightFrame = -1;
  FrameId ArenaFrame = -1;
};

}  // namespace brawl
