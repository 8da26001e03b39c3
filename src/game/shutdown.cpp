#include "game/shutdown.h"

#include "game/game.h"

namespace brawl {

void EndRun(Game& game) {
  game.scene = Scene{};
  game.gfx.Nodes = SceneNodes{};
  Graphics& g = game.gfx;
  g.TitleSurface = g.CursorSurface = g.LifeBarSurface[0] = g.LifeBarSurface[1] = Surface{};
  g.P1WinSurface = g.P2WinSurface = Surface{};
  game.platform.display.Restore();
  game.platform.display.ShowPointer(true);
  game.loop.Ending = true;
}

}  // namespace brawl
