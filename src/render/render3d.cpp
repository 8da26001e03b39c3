#include "render/render3d.h"

#include "game/game.h"

void SetUpViewports(Game&, int16_t) {}
void Render3D(Game&, int16_t) {}
