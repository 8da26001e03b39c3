#include "render/render3d.h"

namespace brawl {

namespace {

// The scene shows the match where the rules last put it.
void ShowMatch(const SceneFrames& ids, Scene& scene, const MatchFrames& frames) {
  const auto copy = [&scene](FrameId id, const Frame& from) {
    Frame& to = scene.frames.at(static_cast<size_t>(id));
    const int visual = to.visual;
    to = from;
    to.visual = visual;
  };
  for (int p = 0; p < 2; ++p) {
    copy(ids.Camera[p], frames.Camera[p]);
    copy(ids.FighterFrame[p], frames.FighterFrame[p]);
    for (int i = 0; i < kSlots; ++i) {
      copy(ids.BulletFrame[p][i], frames.BulletFrame[p][i]);
      copy(ids.BloodFrame[p][i], frames.BloodFrame[p][i]);
    }
  }
}

}  // namespace

void SetUpViewports(Graphics& g, Mode mode) {
  const int w = g.width, h = g.height;
  if (mode == Mode::OnePlayer) {
    g.Viewport[0] = CreateViewport(g.frames.Camera[0], 0, 0, w, h);
  } else if (mode == Mode::TwoPlayers) {
    g.Viewport[0] = CreateViewport(g.frames.Camera[0], 0, 0, w / 2, h);
    g.Viewport[1] = CreateViewport(g.frames.Camera[1], w / 2, 0, w / 2, h);
  }
}

void SetUpOnlineView(Graphics& g, int player) {
  g.Viewport[0] = CreateViewport(g.frames.Camera[player], 0, 0, g.width, g.height);
}

void Render3D(Graphics& g, Scene& scene, const Match& match, Mode mode) {
  const int views = mode == Mode::OnePlayer ? 1 : mode == Mode::TwoPlayers ? 2 : 0;
  if (mode == Mode::Result) return;  // the result screen draws over the last match picture
  if (views > 0) {
    ShowMatch(g.frames, scene, match.frames);
    for (int v = 0; v < views; ++v) Clear(g.Viewport[v], scene, g.RMDevice, g.BackBuffer);
    for (int v = 0; v < views; ++v) Render(g.Viewport[v], scene, g.RMDevice, g.BackBuffer);
  }
  Update(g.RMDevice);
}

}  // namespace brawl
