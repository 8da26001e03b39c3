// The game window on SDL's dummy video driver: no screen needed.
#include "platform/sdl/sdl_display.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>

#include "base/fatal_error.h"
#include "gfx/surface.h"

namespace brawl {

namespace {

class SdlDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  }
  void TearDown() override {
    unsetenv("SDL_VIDEODRIVER");
    SDL_Quit();
  }
};

TEST_F(SdlDisplayTest, FlipsNoMoreThanSixtyTimesASecond) {
  SdlDisplay display(true);
  display.Open(320, 240);
  const Surface back = MakeSurface(320, 240);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 13; ++i) display.Flip(back);
  // A lower bound only: each flip after the first waits for its turn on the schedule the
  // first one began, however fast the machine.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(12 * 1000 / 60));
}

TEST_F(SdlDisplayTest, CloseRequestIsReportedOnceByThePump) {
  SdlDisplay display(false);
  EXPECT_FALSE(display.Pump());  // nothing to pump before the window exists
  display.Open(320, 240);
  EXPECT_FALSE(display.Pump());
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  EXPECT_TRUE(display.Pump());
  EXPECT_FALSE(display.Pump());
}

TEST_F(SdlDisplayTest, RestoreOrTheDisplayGoingClosesTheWindowAndShowsThePointer) {
  {
    SdlDisplay display(false);
    display.Open(320, 240);
    display.ShowPointer(false);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    display.Restore();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  {
    SdlDisplay display(false);
    display.Open(320, 240);
    display.ShowPointer(false);
  }
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

}  // namespace

}  // namespace brawl
