#include "render/overlay.h"

#include <gtest/gtest.h>

#include "game/game.h"
#include "render/display_setup.h"
#include "support/fake_platform.h"

namespace {

// Pictures whose every pixel tells where it came from: one colour range per bitmap.
Surface Patterned(int width, int height, uint16_t base) {
  Surface s = MakeSurface(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      s.pixels[static_cast<size_t>(y * width + x)] =
          static_cast<uint16_t>(base + ((x * 7 + y * 13) & 0x0FFF));
  return s;
}

constexpr uint16_t kMatchPicture = 0x4321;  // what the 3-D render left in the back buffer

uint16_t At(const Surface& s, int x, int y) {
  return s.pixels.at(static_cast<size_t>(y * s.width + x));
}

class Overlay : public ::testing::Test {
 protected:
  void Screen(int width, int height) {
    game.settings.ScreenWidth = static_cast<int16_t>(width);
    game.settings.ScreenHeight = static_cast<int16_t>(height);
    game.gfx.BackBuffer = MakeSurface(width, height);
    game.gfx.BackBuffer.pixels.assign(game.gfx.BackBuffer.pixels.size(), kMatchPicture);
    game.gfx.TitleSurface = Patterned(320, 240, 0x1000);
    game.gfx.CursorSurface = Patterned(32, 32, 0x2000);
    game.gfx.LifeBarSurface[0] = Patterned(128, 6, 0x3000);
    game.gfx.LifeBarSurface[1] = Patterned(128, 6, 0x5000);
    game.gfx.P1WinSurface = Patterned(240, 64, 0x6000);
    game.gfx.P2WinSurface = Patterned(240, 64, 0x7000);
    // The banners' black pixels are keyed at load, and still copied.
    for (Surface* banner : {&game.gfx.P1WinSurface, &game.gfx.P2WinSurface}) {
      for (int x = 0; x < 240; ++x) banner->pixels[static_cast<size_t>(20 * 240 + x)] = 0;
      SetColorKey(*banner, 0);
    }
    game.match.Fighter[0].Life = 128;
    game.match.Fighter[1].Life = 128;
  }
  Surface& Back() { return game.gfx.BackBuffer; }

  // Every pixel of the back buffer: inside `area` from `expected(x, y)`, elsewhere as before.
  template <typename Expected>
  void ExpectPicture(const Surface& before, Rect area, Expected expected) {
    for (int y = 0; y < Back().height; ++y)
      for (int x = 0; x < Back().width; ++x) {
        const bool inside = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
        ASSERT_EQ(At(Back(), x, y), inside ? expected(x, y) : At(before, x, y))
            << "at (" << x << ", " << y << ")";
      }
  }

  FakePlatform fake;
  Game game{fake.platform};
};

TEST_F(Overlay, TitleAt320IsCopiedOneToOneWithTheCursorOnTheChoice) {
  for (int16_t choice : {1, 2}) {
    Screen(320, 240);
    game.loop.TitleChoice = choice;
    DrawOverlay(game, kTitle);
    const int top = 75 + 32 * choice;  // 107 or 139
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 320; ++x) {
        const bool cursor = x >= 75 && x < 107 && y >= top && y < top + 32;
        ASSERT_EQ(At(Back(), x, y),
                  cursor ? At(game.gfx.CursorSurface, x - 75, y - top) : At(game.gfx.TitleSurface, x, y))
            << "choice " << choice << " at (" << x << ", " << y << ")";
      }
  }
}

TEST_F(Overlay, TitleAt640IsStretchedByTwoWithA64PixelCursor) {
  for (int16_t choice : {1, 2}) {
    Screen(640, 480);
    game.loop.TitleChoice = choice;
    DrawOverlay(game, kTitle);
    const int top = 150 + 64 * choice;  // 214 or 278
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        const bool cursor = x >= 150 && x < 214 && y >= top && y < top + 64;
        ASSERT_EQ(At(Back(), x, y), cursor ? At(game.gfx.CursorSurface, (x - 150) / 2, (y - top) / 2)
                                           : At(game.gfx.TitleSurface, x / 2, y / 2))
            << "choice " << choice << " at (" << x << ", " << y << ")";
      }
  }
}

TEST_F(Overlay, TitleBeginsWithABlackScreen) {
  Screen(320, 240);
  game.gfx.TitleSurface = Patterned(100, 50, 0x1000);  // smaller than the screen
  game.loop.TitleChoice = 1;
  DrawOverlay(game, kTitle);
  EXPECT_EQ(At(Back(), 200, 20), 0);
  EXPECT_EQ(At(Back(), 10, 200), 0);
  EXPECT_EQ(At(Back(), 319, 239), 0);
  EXPECT_EQ(At(Back(), 99, 49), At(game.gfx.TitleSurface, 99, 49));
  EXPECT_EQ(Back().fore_color & 0xFFFFFF, 0u);
  EXPECT_EQ(Back().fill_color & 0xFFFFFF, 0u);
}

TEST_F(Overlay, LifeBarsAreAsWideAsTheLivesRoundedHalfToEven) {
  struct Case {
    float life;
    int width;
  };
  const Case cases[] = {{128, 128}, {126.5f, 126}, {127.5f, 128}, {125.5f, 126}, {0.5f, 0},
                        {1.5f, 2},  {0, 0},        {-4, 0},       {-0.5f, 0}};
  for (int screen : {320, 640}) {
    for (const Case& c : cases) {
      Screen(screen, screen * 3 / 4);
      game.match.Fighter[0].Life = c.life;
      game.match.Fighter[1].Life = c.life;
      const Surface before = Back();
      DrawOverlay(game, kTwoPlayers);
      const int right_bar = screen / 2 + 10;
      // Not stretched at 640: 1:1 from the left of the bitmap, 6 rows high.
      for (int y = 0; y < Back().height; ++y)
        for (int x = 0; x < Back().width; ++x) {
          uint16_t expected = At(before, x, y);
          if (y >= 10 && y < 16 && x >= 10 && x < 10 + c.width)
            expected = At(game.gfx.LifeBarSurface[0], x - 10, y - 10);
          if (y >= 10 && y < 16 && x >= right_bar && x < right_bar + c.width)
            expected = At(game.gfx.LifeBarSurface[1], x - right_bar, y - 10);
          ASSERT_EQ(At(Back(), x, y), expected)
              << "life " << c.life << " at " << screen << ": pixel (" << x << ", " << y << ")";
        }
    }
  }
}

TEST_F(Overlay, LifeBarsAreDrawnAloneInBothMatchModes) {
  for (int16_t mode : {kOnePlayer, kTwoPlayers}) {
    Screen(320, 240);
    game.match.Fighter[0].Life = 100;
    game.match.Fighter[1].Life = 40;
    const Surface before = Back();
    DrawOverlay(game, mode);
    ExpectPicture(before, Rect{10, 10, 210, 16}, [&](int x, int y) {
      if (x < 110) return At(game.gfx.LifeBarSurface[0], x - 10, y - 10);
      if (x >= 170) return At(game.gfx.LifeBarSurface[1], x - 170, y - 10);
      return kMatchPicture;
    });
  }
}

TEST_F(Overlay, LivesBeyondTheBitmapOrNotANumberStayInside) {
  Screen(320, 240);
  game.match.Fighter[0].Life = 1e30f;
  game.match.Fighter[1].Life = std::numeric_limits<float>::quiet_NaN();
  const Surface before = Back();
  DrawOverlay(game, kOnePlayer);
  // Player 1's bar is the whole bitmap; player 2's is empty.
  ExpectPicture(before, Rect{10, 10, 138, 16},
                [&](int x, int y) { return At(game.gfx.LifeBarSurface[0], x - 10, y - 10); });
}

class OverlayResult : public Overlay, public ::testing::WithParamInterface<int> {};

TEST_P(OverlayResult, BannerOfTheWinnerOverTheLastMatchPictureWithThePrompt) {
  const int screen = GetParam();
  const int scale = screen / 320;
  const Rect banner_area = scale == 1 ? Rect{40, 88, 280, 152} : Rect{80, 176, 560, 304};
  for (int16_t winner : {1, 2}) {
    Screen(screen, screen * 3 / 4);
    game.gfx.font = OpenFont(12);
    game.loop.Winner = winner;
    const Surface before = Back();
    DrawOverlay(game, kResult);
    const Surface& banner = winner == 1 ? game.gfx.P1WinSurface : game.gfx.P2WinSurface;
    // Opaque: the keyed black row is copied too.
    for (int y = 0; y < Back().height; ++y)
      for (int x = 0; x < Back().width; ++x) {
        const bool in_banner =
            x >= banner_area.left && x < banner_area.right && y >= banner_area.top && y < banner_area.bottom;
        const bool below = y >= banner_area.bottom && y < banner_area.bottom + 20;
        const uint16_t pixel = At(Back(), x, y);
        if (in_banner) {
          ASSERT_EQ(pixel, At(banner, (x - banner_area.left) / scale, (y - banner_area.top) / scale))
              << x << "," << y;
        } else if (below) {
          ASSERT_TRUE(pixel == kMatchPicture || pixel == 0xFFFF) << x << "," << y;
        } else {
          ASSERT_EQ(pixel, At(before, x, y)) << x << "," << y;
        }
      }
    // The prompt: white, from the banner's left edge, right below it.
    int ink = 0, left = screen, top = Back().height;
    for (int y = banner_area.bottom; y < banner_area.bottom + 20; ++y)
      for (int x = 0; x < screen; ++x)
        if (At(Back(), x, y) == 0xFFFF) ++ink, left = std::min(left, x), top = std::min(top, y);
    EXPECT_GT(ink, 150);
    EXPECT_GE(left, banner_area.left);
    EXPECT_LE(left, banner_area.left + 3);
    EXPECT_LE(top, banner_area.bottom + 4);
    EXPECT_EQ(Back().fore_color & 0xFFFFFF, 0xFFFFFFu);
  }
}

INSTANTIATE_TEST_SUITE_P(BothSizes, OverlayResult, ::testing::Values(320, 640));

TEST_F(Overlay, ResultWithoutAWinnerAndUnknownModesDrawNothing) {
  Screen(320, 240);
  game.gfx.font = OpenFont(12);
  const Surface before = Back();
  game.loop.Winner = 0;
  DrawOverlay(game, kResult);
  EXPECT_EQ(Back().pixels, before.pixels);
  game.loop.Winner = 1;
  DrawOverlay(game, 4);
  DrawOverlay(game, -1);
  EXPECT_EQ(Back().pixels, before.pixels);
}

TEST_F(Overlay, OtherScreenWidthsGetOnlyTheBlackBox) {
  Screen(400, 300);
  game.gfx.font = OpenFont(12);
  game.loop.TitleChoice = 1;
  DrawOverlay(game, kTitle);
  for (uint16_t p : Back().pixels) ASSERT_EQ(p, 0);
  Screen(400, 300);
  const Surface before = Back();
  game.loop.Winner = 1;
  DrawOverlay(game, kResult);
  EXPECT_EQ(Back().pixels, before.pixels);
}

TEST(DisplaySetUp, MakesABlackBackBufferOfTheScreenSizeAndAFont) {
  FakePlatform fake;
  Game game{fake.platform};
  game.settings.ScreenWidth = 640;
  game.settings.ScreenHeight = 480;
  SetUpDisplay(game);
  EXPECT_EQ(game.gfx.BackBuffer.width, 640);
  EXPECT_EQ(game.gfx.BackBuffer.height, 480);
  ASSERT_EQ(game.gfx.BackBuffer.pixels.size(), 640u * 480u);
  for (uint16_t p : game.gfx.BackBuffer.pixels) ASSERT_EQ(p, 0);
  ASSERT_TRUE(game.gfx.font.handle);
  SetForeColor(game.gfx.BackBuffer, -1);
  DrawText(game.gfx.BackBuffer, game.gfx.font, 10, 10, "640X480  fps  59.9");
  size_t ink = 0;
  for (uint16_t p : game.gfx.BackBuffer.pixels) ink += p == 0xFFFF;
  EXPECT_GT(ink, 50u);
}

}  // namespace
