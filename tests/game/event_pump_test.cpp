#include "game/event_pump.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/game.h"
#include "game/main_loop.h"
#include "platform/headless/headless_machine.h"

namespace brawl {
namespace {

// A settings window that remembers whether each pump was asked to wait, and is closed at once.
struct ClosedDialog : HeadlessDialog {
  ClosedDialog() : HeadlessDialog(DialogChoices{}) {}
  std::vector<bool> waits;
  bool closed = false;
  void Pump(DialogControls&, std::vector<DialogEvent>& events, bool wait) override {
    waits.push_back(wait);
    if (!closed) events.push_back(DialogEvent::Close);
    closed = true;
  }
};

TEST(EventPump, BeforeTheLaunchEachPassSleepsUntilAWindowEventAndNeverAfter) {
  HeadlessMachine m(HeadlessSetup{});
  ClosedDialog dialog;
  Platform platform{m.clock, m.keyboard, m.display, m.audio, m.joysticks, dialog};
  Game game{platform};
  game.actions.close_request = [](Game& g) { g.loop.Running = false; };
  RunMainLoop(game);
  EXPECT_EQ(dialog.waits, std::vector<bool>{true});
  EXPECT_EQ(game.passes, 0);
  // After the launch the pump never waits: the flip paces the loop.
  game.loop.InMatch = true;
  PumpWindowEvents(game);
  EXPECT_EQ(dialog.waits, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace brawl
