#pragma once

struct Game;

// Creates both cameras (at (0,0,0) and (0,10,0)) and the 42 sprite frames, all under the
// scene root. The renderer hangs the pictures on them.
void CreateMatchFrames(Game& game);
void ResetMatch(Game& game);
