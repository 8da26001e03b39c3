#include "render/overlay.h"

#include <cmath>

namespace brawl {

namespace {

constexpr const char* kReturnPrompt = "Press SpaceKey To Return Title";
constexpr int kLifeBarHeight = 6;
constexpr Rect kTitleRect{0, 0, 320, 240};
constexpr Rect kCursorRect{0, 0, 32, 32};
constexpr Rect kBannerRect{0, 0, 240, 64};
// Where each piece goes at 320 x 240; 640 x 480 stretches the title and the banner to twice.
constexpr int kCursorX = 75, kCursorY = 75, kCursorStep = 32;
constexpr int kLifeBarX = 10, kLifeBarY = 10;  // in each half of the screen
constexpr int kBannerX = 40, kBannerY = 88, kPromptY = 152;

// As wide as the life, rounded half to even; a life of 0 or less gives an empty bar.
Rect LifeBarRect(float life) {
  const double width = std::nearbyint(static_cast<double>(life));
  if (!(width > 0)) return Rect{0, 0, 0, kLifeBarHeight};
  const double widest = 1 << 30;  // far beyond any bitmap; keeps the conversion defined
  return Rect{0, 0, static_cast<int32_t>(std::fmin(width, widest)), kLifeBarHeight};
}

void DrawTitle(Graphics& gfx, int choice) {
  DrawBox(gfx.BackBuffer, 0, 0, gfx.Width, gfx.Height);
  if (gfx.Width == 320) {
    BltFast(gfx.BackBuffer, 0, 0, gfx.TitleSurface, kTitleRect);
    BltFast(gfx.BackBuffer, kCursorX, kCursorY + kCursorStep * choice, gfx.CursorSurface, kCursorRect);
  } else if (gfx.Width == 640) {
    Blt(gfx.BackBuffer, Rect{0, 0, 640, 480}, gfx.TitleSurface, kTitleRect);
    const int top = 2 * (kCursorY + kCursorStep * choice);
    Blt(gfx.BackBuffer,
        Rect{2 * kCursorX, top, 2 * (kCursorX + kCursorRect.right), top + 2 * kCursorRect.bottom},
        gfx.CursorSurface, kCursorRect);
  }
}

void DrawLifeBars(Graphics& gfx, const Match& match) {
  const Rect bars[2] = {LifeBarRect(match.Fighter[0].Life), LifeBarRect(match.Fighter[1].Life)};
  BltFast(gfx.BackBuffer, kLifeBarX, kLifeBarY, gfx.LifeBarSurface[0], bars[0]);
  BltFast(gfx.BackBuffer, gfx.Width / 2 + kLifeBarX, kLifeBarY, gfx.LifeBarSurface[1], bars[1]);
}

void DrawResult(Graphics& gfx, int winner) {
  SetForeColor(gfx.BackBuffer, 0xFFFFFF);
  const Surface* banner = winner == 1 ? &gfx.P1WinSurface : winner == 2 ? &gfx.P2WinSurface : nullptr;
  if (!banner) return;
  // The banner's black key is not asked for: it is copied opaque, black and all.
  if (gfx.Width == 320) {
    BltFast(gfx.BackBuffer, kBannerX, kBannerY, *banner, kBannerRect);
    DrawText(gfx.BackBuffer, gfx.TextFont, kBannerX, kPromptY, kReturnPrompt);
  } else if (gfx.Width == 640) {
    const Rect to{2 * kBannerX, 2 * kBannerY, 2 * (kBannerX + kBannerRect.right),
                  2 * (kBannerY + kBannerRect.bottom)};
    Blt(gfx.BackBuffer, to, *banner, kBannerRect);
    DrawText(gfx.BackBuffer, gfx.TextFont, to.left, to.bottom, kReturnPrompt);
  }
}

}  // namespace

void DrawOverlay(Graphics& gfx, const Match& match, Mode mode) {
  SetForeColor(gfx.BackBuffer, 0);
  SetFillColor(gfx.BackBuffer, 0);
  switch (mode) {
    case Mode::Title:
      DrawTitle(gfx, match.TitleChoice);
      break;
    case Mode::OnePlayer:
    case Mode::TwoPlayers:
      DrawLifeBars(gfx, match);
      break;
    case Mode::Result:
      DrawResult(gfx, match.Winner);
      break;
  }
}

}  // namespace brawl
