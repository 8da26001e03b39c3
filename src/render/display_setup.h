#pragma once

struct Game;

// Takes the screen at ScreenWidth x ScreenHeight and makes the back buffer and font.
void SetUpDisplay(Game& game);
