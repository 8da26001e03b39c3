#pragma once

namespace brawl {

struct Game;

// The settings window: shown with the boxes the joysticks allow, and the launch its start
// button asks for.
void ShowSettings(Game& game);
void LaunchGame(Game& game);

}  // namespace brawl
