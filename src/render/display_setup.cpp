#include "render/display_setup.h"

#include "game/game.h"

namespace {
// Readable at 320 x 240; the same font serves 640 x 480, as one font serves the whole game.
constexpr int kFontPixels = 12;
}  // namespace

void SetUpDisplay(Game& game) {
  const int width = game.settings.ScreenWidth;
  const int height = game.settings.ScreenHeight;
  game.platform.display.Open(width, height);
  // Only ever drawn over, never cleared by the flip: the result screen shows the last match
  // picture behind its banner.
  game.gfx.BackBuffer = MakeSurface(width, height);
  game.gfx.font = OpenFont(kFontPixels);
}
