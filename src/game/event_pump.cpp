#include "game/event_pump.h"

#include <vector>

#include "app/settings_form.h"
#include "game/game.h"

void PumpWindowEvents(Game& game) {
  std::vector<DialogEvent> events;
  // Before the launch nothing but a window event can change anything: sleep until one comes
  // instead of asking again and again.
  const bool wait = game.loop.InMatch == 0;
  game.platform.dialog.Pump(game.settings.form, events, wait);
  for (const DialogEvent event : events) {
    switch (event) {
      case DialogEvent::Launch:
        // The launch happens at most once: afterwards the button is disabled.
        if (game.loop.InMatch == 0) LaunchGame(game);
        break;
      case DialogEvent::Quit:
        if (game.loop.InMatch == 0) EndProgram(game);
        return;
      case DialogEvent::Close:
        CloseRequest(game);
        break;
    }
    if (game.loop.ending) return;
  }
  // Closing the game window ends the run like the settings window's close box.
  if (game.platform.display.Pump()) CloseRequest(game);
}
