#pragma once
#include "platform/scene/viewport.h"
#include "platform/surface.h"

// The pictures of the game: the back buffer and the overlay's bitmaps.
struct Graphics {
  Surface BackBuffer;
  Font font;
  Surface TitleSurface, CursorSurface, LifeBarSurface[2], P1WinSurface, P2WinSurface;
  // The 3-D device drawing into BackBuffer, the two players' views, and the frames of
  // the scene that the simulation never moves.
  Device3D RMDevice;
  Viewport3D Viewport[2];
  FrameId LightFrame = -1;
  FrameId ArenaFrame = -1;
};
