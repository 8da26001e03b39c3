#pragma once

namespace brawl {

struct Game;

// The settings window's state, and its three actions: the launch, the quit button, the
// close box.
void ShowSettings(Game& game);
void LaunchGame(Game& game);
void EndProgram(Game& game);
void CloseRequest(Game& game);

}  // namespace brawl
