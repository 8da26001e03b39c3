#include "sound/sound.h"

#include "game/game.h"

void SetUpSound(Game&) {}
void PlaySound(Game&, const std::string&) {}
void UpdateSounds(Game&) {}
