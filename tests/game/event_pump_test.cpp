#include "game/event_pump.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/game.h"
#include "game/main_loop.h"
#include "support/fake_platform.h"

namespace brawl {
namespace {

TEST(EventPump, BeforeTheLaunchEachPassSleepsUntilAWindowEventAndNeverAfter) {
  FakePlatform fake;
  Game game{fake.platform};
  game.actions.close_request = [](Game& g) { g.loop.Running = false; };
  fake.dialog.pending = {DialogEvent::Close};
  RunMainLoop(game);
  EXPECT_EQ(fake.dialog.waits, std::vector<bool>{true});
  EXPECT_EQ(game.passes, 0);
  // After the launch the pump never waits: the flip paces the loop.
  game.loop.InMatch = true;
  PumpWindowEvents(game);
  EXPECT_EQ(fake.dialog.waits, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace brawl
