#include "render/render3d.h"

#include "game/game.h"
#include "platform/scene/viewport.h"
#include "sim/shots.h"

void SetUpViewports(Game& game, int16_t mode) {
  const int w = game.settings.ScreenWidth, h = game.settings.ScreenHeight;
  Graphics& g = game.gfx;
  if (mode == kOnePlayer) {
    g.Viewport[0] = CreateViewport(game.frames.Camera[0], 0, 0, w, h);
  } else if (mode == kTwoPlayers) {
    g.Viewport[0] = CreateViewport(game.frames.Camera[0], 0, 0, w / 2, h);
    g.Viewport[1] = CreateViewport(game.frames.Camera[1], w / 2, 0, w / 2, h);
  }
}

void Render3D(Game& game, int16_t mode) {
  Graphics& g = game.gfx;
  switch (mode) {
    case kTitle:
      Update(g.RMDevice);
      break;
    case kOnePlayer:
      StepShots(game);
      Clear(g.Viewport[0], game.scene, g.RMDevice, g.BackBuffer);
      Render(g.Viewport[0], game.scene, g.RMDevice, g.BackBuffer);
      Update(g.RMDevice);
      break;
    case kTwoPlayers:
      StepShots(game);
      Clear(g.Viewport[0], game.scene, g.RMDevice, g.BackBuffer);
      Clear(g.Viewport[1], game.scene, g.RMDevice, g.BackBuffer);
      Render(g.Viewport[0], game.scene, g.RMDevice, g.BackBuffer);
      Render(g.Viewport[1], game.scene, g.RMDevice, g.BackBuffer);
      Update(g.RMDevice);
      break;
    default:  // the result screen draws over the last match picture
      break;
  }
}
