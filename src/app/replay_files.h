#pragma once
#include <string>

#include "net/replay.h"

namespace brawl {

struct Game;
struct Options;

// Reads a replay named on the command line; a bad one is a usage error naming the line.
Replay ReadReplay(const std::string& path);
// A headless run of a local replay takes the replay's choices and clock, and lasts its passes.
void TakeReplayChoices(const Replay& replay, Options& options);
// Completes a local run's recording with the choices of its launch and writes it; a failure to
// write is a one-line warning.
void WriteLocalReplay(const std::string& path, Replay& replay, const Game& game, const Options& options);

}  // namespace brawl
