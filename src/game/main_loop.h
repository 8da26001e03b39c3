#pragma once

namespace brawl {

struct Game;

// After the launch: passes until Escape, a close request or the end of a headless run.
void RunMainLoop(Game& game);
// One pass: this pass's commands, one step of the match, and the picture.
void RunPass(Game& game);

}  // namespace brawl
