#include "game/event_pump.h"

#include <vector>

#include "game/game.h"

namespace brawl {

void PumpWindowEvents(Game& game) {
  std::vector<DialogEvent> events;
  // Before the launch nothing but a window event can change anything: sleep until one comes
  // instead of asking again and again.
  const bool wait = !game.loop.InMatch;
  game.platform.dialog.Pump(game.settings.form, events, wait);
  const FormActions& act = game.actions;
  for (const DialogEvent event : events) {
    switch (event) {
      case DialogEvent::Launch:
        // The launch happens at most once: afterwards the button is disabled.
        if (!game.loop.InMatch && act.launch) act.launch(game);
        break;
      case DialogEvent::Quit:
        if (!game.loop.InMatch && act.end_program) act.end_program(game);
        return;
      case DialogEvent::Close:
        if (act.close_request) act.close_request(game);
        break;
    }
    if (game.loop.ending) return;
  }
  // Closing the game window ends the run like the settings window's close box.
  if (game.platform.display.Pump() && act.close_request) act.close_request(game);
}

}  // namespace brawl
