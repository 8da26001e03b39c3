#pragma once
#include "platform/surface.h"

// The pictures of the game: the back buffer and the overlay's bitmaps.
struct Graphics {
  Surface BackBuffer;
  Font font;
  Surface TitleSurface, CursorSurface, LifeBarSurface[2], P1WinSurface, P2WinSurface;
};
