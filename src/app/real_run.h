#pragma once

namespace brawl {

struct Options;

// The whole game on this machine's display, keyboard, joysticks and audio.
int RunRealGame(const Options& options);

}  // namespace brawl
