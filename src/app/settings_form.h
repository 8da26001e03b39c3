#pragma once

struct Game;

void ShowSettings(Game& game);
void LaunchGame(Game& game);
void EndProgram(Game& game);
void CloseRequest(Game& game);
