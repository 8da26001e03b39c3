#pragma once
#include <cstdint>

struct Game;

void DrawOverlay(Game& game, int16_t mode);
