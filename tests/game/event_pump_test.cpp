#include "game/event_pump.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/game.h"
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

TEST(EventPump, BeforeTheLaunchSleepsUntilAWindowEventAndNeverAfter) {
  HeadlessMachine m(HeadlessSetup{});
  ClosedDialog dialog;
  Platform platform{m.clock, m.keyboard, m.display, m.audio, m.joysticks, dialog};
  Game game{platform};
  game.loop.Running = true;
  EXPECT_EQ(PumpWindowEvents(game), std::vector<DialogEvent>{DialogEvent::Close});
  EXPECT_EQ(dialog.waits, std::vector<bool>{true});
  // After the launch the pump never waits: the flip paces the loop.
  game.loop.InMatch = true;
  EXPECT_FALSE(TakeCloseRequests(game));
  EXPECT_EQ(dialog.waits, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace brawl
