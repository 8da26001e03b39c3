#pragma once
#include <string>

namespace brawl {

struct Game;

void RunMainLoop(Game& game);
// One pass of the launched game: sounds, the rules, the picture, the flip.
void RunPass(Game& game);
// Counts a match frame and every 60 frames measures Fps and derives SpeedFactor.
void StepFrameTiming(Game& game);
void DrawFpsLine(Game& game);
// "320X240  fps  60.0"
std::string FpsLineText(int width, int height, float fps);

}  // namespace brawl
