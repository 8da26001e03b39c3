#include "render/render3d.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <sstream>

#include "game/game.h"
#include "game/state_dump.h"
#include "render/assets.h"
#include "sim/match.h"
#include "support/fake_platform.h"
#include "support/run_brawl.h"

// Counts the allocations of this program while `counting` is on. GCC takes the free() of
// the replaced deletes for a mismatch with the replaced news; they are a matched pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

constexpr uint16_t kSentinel = 0x1234;

// A game launched on the generated data files, with bullets and a splash in the air.
class Render3DTest : public ::testing::Test {
 protected:
  void Launch(int width, int height) {
    game.settings.AppPath = BuildDir() + "/";
    game.settings.ScreenWidth = static_cast<int16_t>(width);
    game.settings.ScreenHeight = static_cast<int16_t>(height);
    game.sound.silent = true;
    game.gfx.BackBuffer = MakeSurface(width, height);
    LoadAssets(game);
    ResetMatch(game);
    game.loop.SpeedFactor = 1;
    MatchState& m = game.match;
    m.Bullet[0][3] = {-1, 50, 1, -40, 0, 0, -1};
    m.Bullet[1][0] = {-1, 52, 1, -60, 0, 0, 1};
    m.Blood[1][2] = {-1, 50, 1, -50, 3, 0.1f, 0.1f};
    std::fill(Back().pixels.begin(), Back().pixels.end(), kSentinel);
  }

  Surface& Back() { return game.gfx.BackBuffer; }

  // Everything the simulation owns, the frames it moves included.
  std::string SimulationState() {
    std::ostringstream s;
    s << StateDumpLine(game, 0);
    for (const Frame& f : game.scene.frames)
      s << ' ' << f.position.x << ',' << f.position.y << ',' << f.position.z << ',' << f.z_axis.x << ','
        << f.z_axis.y << ',' << f.z_axis.z << ',' << f.y_axis.x << ',' << f.y_axis.y << ',' << f.y_axis.z;
    return s.str();
  }

  int SentinelPixels(int left, int right) {
    int n = 0;
    for (int y = 0; y < Back().height; ++y)
      for (int x = left; x < right; ++x)
        n += Back().pixels[static_cast<size_t>(y * Back().width + x)] == kSentinel;
    return n;
  }

  FakePlatform fake;
  Game game{fake.platform};
};

TEST_F(Render3DTest, TitleAndResultChangeNoSimulationStateAndDrawNothing) {
  Launch(320, 240);
  const std::string before = SimulationState();
  Render3D(game, kTitle);
  Render3D(game, kResult);
  EXPECT_EQ(SimulationState(), before);
  EXPECT_EQ(SentinelPixels(0, 320), 320 * 240);
  // The comparison sees a match frame's step.
  Render3D(game, kOnePlayer);
  EXPECT_NE(SimulationState(), before);
}

TEST_F(Render3DTest, MatchModesStepTheShotsOnceAndTurnTheCameras) {
  for (int16_t mode : {kOnePlayer, kTwoPlayers}) {
    FakePlatform platform;
    Game g{platform.platform};
    g.settings.AppPath = BuildDir() + "/";
    g.settings.ScreenWidth = 320;
    g.settings.ScreenHeight = 240;
    g.sound.silent = true;
    g.gfx.BackBuffer = MakeSurface(320, 240);
    LoadAssets(g);
    ResetMatch(g);
    g.loop.SpeedFactor = 1;
    g.match.Bullet[0][3] = {-1, 30, 1, -40, 0, 0, -1};
    SetUpViewports(g, mode);
    Render3D(g, mode);
    EXPECT_FLOAT_EQ(g.match.Bullet[0][3].Z, -41.0f) << mode;
    // The camera of player 1 looks at its fighter from behind.
    const Frame& camera = g.scene.frames[static_cast<size_t>(g.frames.Camera[0])];
    EXPECT_LT(camera.z_axis.z, 0.0f) << mode;
    EXPECT_LT(camera.z_axis.y, 0.0f) << mode;
  }
}

TEST_F(Render3DTest, ViewportLayoutsOfTheTwoMatchModes) {
  Launch(640, 480);
  // The first layout is the two-player one.
  EXPECT_EQ(game.gfx.Viewport[1].left, 320);
  SetUpViewports(game, kOnePlayer);
  const Viewport3D& v0 = game.gfx.Viewport[0];
  EXPECT_EQ(v0.camera, game.frames.Camera[0]);
  EXPECT_EQ(v0.left, 0);
  EXPECT_EQ(v0.top, 0);
  EXPECT_EQ(v0.width, 640);
  EXPECT_EQ(v0.height, 480);
  EXPECT_EQ(game.gfx.Viewport[1].width, 320);  // left as it was
  SetUpViewports(game, kTwoPlayers);
  const Viewport3D& v1 = game.gfx.Viewport[1];
  EXPECT_EQ(v0.width, 320);
  EXPECT_EQ(v1.camera, game.frames.Camera[1]);
  EXPECT_EQ(v1.left, 320);
  EXPECT_EQ(v1.width, 320);
  EXPECT_EQ(v1.height, 480);
  SetUpViewports(game, kTitle);
  SetUpViewports(game, kResult);
  EXPECT_EQ(v0.width, 320);
  EXPECT_EQ(v1.left, 320);
}

TEST_F(Render3DTest, OnePlayerViewCoversTheWholeBackBuffer) {
  Launch(320, 240);
  SetUpViewports(game, kOnePlayer);
  Render3D(game, kOnePlayer);
  EXPECT_EQ(SentinelPixels(0, 320), 0);
}

TEST_F(Render3DTest, TwoPlayerHalvesMeetAtHalfTheWidth) {
  Launch(320, 240);
  SetUpViewports(game, kTwoPlayers);
  // Only the left view drawn: it reaches column 159 and not 160.
  Clear(game.gfx.Viewport[0], game.scene, game.gfx.RMDevice, Back());
  Render(game.gfx.Viewport[0], game.scene, game.gfx.RMDevice, Back());
  EXPECT_EQ(SentinelPixels(0, 160), 0);
  EXPECT_EQ(SentinelPixels(160, 320), 160 * 240);
  std::fill(Back().pixels.begin(), Back().pixels.end(), kSentinel);
  Render3D(game, kTwoPlayers);
  EXPECT_EQ(SentinelPixels(0, 320), 0);
  // Each half is its own camera's view: the halves differ.
  int differing = 0;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 160; ++x)
      differing += Back().pixels[static_cast<size_t>(y * 320 + x)] !=
                   Back().pixels[static_cast<size_t>(y * 320 + x + 160)];
  EXPECT_GT(differing, 100);
}

TEST_F(Render3DTest, AMatchFrameAllocatesNothingAfterTheFirst) {
  for (int16_t mode : {kOnePlayer, kTwoPlayers}) {
    SCOPED_TRACE(mode);
    Launch(640, 480);
    SetUpViewports(game, mode);
    Render3D(game, mode);  // scratch space is sized here, once
    allocations = 0;
    counting = true;
    for (int i = 0; i < 5; ++i) Render3D(game, mode);
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
  }
}

}  // namespace
