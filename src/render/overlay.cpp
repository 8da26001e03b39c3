#include "render/overlay.h"

#include "game/game.h"

void DrawOverlay(Game&, int16_t) {}
