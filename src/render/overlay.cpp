#include "render/overlay.h"

#include <cmath>

#include "game/game.h"

namespace {

constexpr const char* kReturnPrompt = "Press SpaceKey To Return Title";
constexpr int kLifeBarHeight = 6;

// As wide as the life, rounded half to even; a life of 0 or less gives an empty bar.
Rect LifeBarRect(float life) {
  const double width = std::nearbyint(static_cast<double>(life));
  if (!(width > 0)) return Rect{0, 0, 0, kLifeBarHeight};
  const double widest = 1 << 30;  // far beyond any bitmap; keeps the conversion defined
  return Rect{0, 0, static_cast<int32_t>(std::fmin(width, widest)), kLifeBarHeight};
}

void DrawTitle(Game& game) {
  Graphics& gfx = game.gfx;
  const int width = game.settings.ScreenWidth;
  const int choice = game.loop.TitleChoice;
  DrawBox(gfx.BackBuffer, 0, 0, width, game.settings.ScreenHeight);
  const Rect title{0, 0, 320, 240};
  const Rect cursor{0, 0, 32, 32};
  if (width == 320) {
    BltFast(gfx.BackBuffer, 0, 0, gfx.TitleSurface, title);
    BltFast(gfx.BackBuffer, 75, 75 + 32 * choice, gfx.CursorSurface, cursor);
  } else if (width == 640) {
    Blt(gfx.BackBuffer, Rect{0, 0, 640, 480}, gfx.TitleSurface, title);
    Blt(gfx.BackBuffer, Rect{150, 150 + 64 * choice, 214, 214 + 64 * choice}, gfx.CursorSurface, cursor);
  }
}

void DrawLifeBars(Game& game) {
  Graphics& gfx = game.gfx;
  const Rect bars[2] = {LifeBarRect(game.match.Fighter[0].Life), LifeBarRect(game.match.Fighter[1].Life)};
  BltFast(gfx.BackBuffer, 10, 10, gfx.LifeBarSurface[0], bars[0]);
  BltFast(gfx.BackBuffer, game.settings.ScreenWidth / 2 + 10, 10, gfx.LifeBarSurface[1], bars[1]);
}

void DrawResult(Game& game) {
  Graphics& gfx = game.gfx;
  SetForeColor(gfx.BackBuffer, 0xFFFFFF);
  const Surface* banner = game.loop.Winner == 1   ? &gfx.P1WinSurface
                          : game.loop.Winner == 2 ? &gfx.P2WinSurface
                                                  : nullptr;
  if (!banner) return;
  // The banner's black key is not asked for: it is copied opaque, black and all.
  const Rect banner_rect{0, 0, 240, 64};
  if (game.settings.ScreenWidth == 320) {
    BltFast(gfx.BackBuffer, 40, 88, *banner, banner_rect);
    DrawText(gfx.BackBuffer, gfx.font, 40, 152, kReturnPrompt);
  } else if (game.settings.ScreenWidth == 640) {
    Blt(gfx.BackBuffer, Rect{80, 176, 560, 304}, *banner, banner_rect);
    DrawText(gfx.BackBuffer, gfx.font, 80, 304, kReturnPrompt);
  }
}

}  // namespace

void DrawOverlay(Game& game, int16_t mode) {
  SetForeColor(game.gfx.BackBuffer, 0);
  SetFillColor(game.gfx.BackBuffer, 0);
  switch (mode) {
    case kTitle:
      DrawTitle(game);
      break;
    case kOnePlayer:
    case kTwoPlayers:
      DrawLifeBars(game);
      break;
    case kResult:
      DrawResult(game);
      break;
    default:
      break;
  }
}
