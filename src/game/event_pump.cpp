#include "game/event_pump.h"

#include <algorithm>

#include "game/game.h"
#include "platform/stop_signals.h"

namespace brawl {

std::vector<DialogEvent> PumpWindowEvents(Game& game) {
  std::vector<DialogEvent> events;
  // Before the launch nothing but a window event can change anything: sleep until one comes
  // instead of asking again and again.
  game.platform.dialog.Pump(game.settings.Form, events, !game.loop.InMatch);
  // Closing the game window ends the run like the settings window's close box.
  if (game.platform.display.Pump()) events.push_back(DialogEvent::Close);
  // So does SIGINT or SIGTERM, so that what the game holds outside (a port the router opened
  // for it) is given back on the way out.
  if (StopSignal() != 0) events.push_back(DialogEvent::Close);
  return events;
}

bool TakeCloseRequests(Game& game) {
  const std::vector<DialogEvent> events = PumpWindowEvents(game);
  if (std::find(events.begin(), events.end(), DialogEvent::Close) != events.end()) game.loop.Running = false;
  return !game.loop.Running || game.loop.Ending;
}

}  // namespace brawl
