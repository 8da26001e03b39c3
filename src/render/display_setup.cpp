#include "render/display_setup.h"

namespace brawl {

namespace {
// Readable at 320 x 240; the same font serves 640 x 480, as one font serves the whole game.
constexpr int kFontPixels = 12;
}  // namespace

void SetUpDisplay(Graphics& gfx, Display& display, int width, int height) {
  display.Open(width, height);
  gfx.Width = width;
  gfx.Height = height;
  // Only ever drawn over, never cleared by the flip: the result screen shows the last match
  // picture behind its banner.
  gfx.BackBuffer = MakeSurface(width, height);
  gfx.TextFont = OpenFont(kFontPixels);
}

}  // namespace brawl
