#pragma once
#include "gfx/surface.h"
#include "gfx/text.h"
#include "render/scene.h"
#include "render/viewport.h"
#include "sim/rules.h"

namespace brawl {

// The scene's nodes that show the match: the renderer poses them as the match's own poses
// before it draws.
struct SceneNodes {
  NodeId Camera[2] = {-1, -1};
  NodeId Fighter[2] = {-1, -1};
  NodeId Bullet[2][kSlots] = {};
  NodeId Blood[2][kSlots] = {};
};

// The pictures of the game: the back buffer and the overlay's bitmaps.
struct Graphics {
  int Width = 0, Height = 0;  // of the back buffer
  Surface BackBuffer;
  Font TextFont;
  Surface TitleSurface, CursorSurface, LifeBarSurface[2], P1WinSurface, P2WinSurface;
  // The 3-D device drawing into BackBuffer, the two players' views, and the nodes of
  // the scene.
  Device3D Device;
  Viewport3D Viewport[2];
  SceneNodes Nodes;
  NodeId LightNode = -1;
  NodeId ArenaNode = -1;
};

}  // namespace brawl
