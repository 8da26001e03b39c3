#pragma once

struct Game;

// Samples the commands and runs the current screen's step; Escape ends the program.
void StepMode(Game& game);
