#pragma once
#include <cstdint>

struct Game;

void SetUpViewports(Game& game, int16_t mode);
void Render3D(Game& game, int16_t mode);
