#pragma once
#include <string>

struct Game;

// Opens the audio device (or goes silent with one warning) and loads every wave the
// game plays, so that a missing one ends the program at the launch.
void SetUpSound(Game& game);
void PlaySound(Game& game, const std::string& file_name);
void UpdateSounds(Game& game);
