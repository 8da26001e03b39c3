#include "render/render3d.h"

namespace brawl {

namespace {

// The scene shows the match where the rules last put it.
void ShowMatch(const SceneNodes& ids, Scene& scene, const MatchPoses& poses) {
  const auto copy = [&scene](NodeId id, const Pose& pose) {
    scene.nodes.at(static_cast<size_t>(id)).pose = pose;
  };
  for (int p = 0; p < 2; ++p) {
    copy(ids.Camera[p], poses.Camera[p]);
    copy(ids.Fighter[p], poses.Fighter[p]);
    for (int i = 0; i < kSlots; ++i) {
      copy(ids.Bullet[p][i], poses.Bullet[p][i]);
      copy(ids.Blood[p][i], poses.Blood[p][i]);
    }
  }
}

}  // namespace

void SetUpViewports(Graphics& g, Mode mode) {
  const int w = g.Width, h = g.Height;
  if (mode == Mode::OnePlayer) {
    g.Viewport[0] = CreateViewport(g.Nodes.Camera[0], 0, 0, w, h);
  } else if (mode == Mode::TwoPlayers) {
    g.Viewport[0] = CreateViewport(g.Nodes.Camera[0], 0, 0, w / 2, h);
    g.Viewport[1] = CreateViewport(g.Nodes.Camera[1], w / 2, 0, w / 2, h);
  }
}

void SetUpOnlineView(Graphics& g, int player) {
  g.Viewport[0] = CreateViewport(g.Nodes.Camera[player], 0, 0, g.Width, g.Height);
}

void Render3D(Graphics& g, Scene& scene, const Match& match, Mode mode) {
  // The title draws no view; the result screen draws over the last match picture.
  const int views = mode == Mode::OnePlayer ? 1 : mode == Mode::TwoPlayers ? 2 : 0;
  if (views == 0) return;
  ShowMatch(g.Nodes, scene, match.Poses);
  for (int v = 0; v < views; ++v) Clear(g.Viewport[v], scene, g.Device, g.BackBuffer);
  for (int v = 0; v < views; ++v) Render(g.Viewport[v], scene, g.Device, g.BackBuffer);
}

}  // namespace brawl
