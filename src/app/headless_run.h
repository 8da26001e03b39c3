#pragma once

namespace brawl {

struct Options;

// The whole game on the virtual machine of the headless mode; returns the exit status.
int RunHeadlessGame(const Options& options);

}  // namespace brawl
