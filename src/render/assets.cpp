#include "render/assets.h"

#include "game/game.h"
#include "sim/match.h"

void LoadAssets(Game& game) { CreateMatchFrames(game); }
