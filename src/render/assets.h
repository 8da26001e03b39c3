#pragma once

struct Game;

void LoadAssets(Game& game);
