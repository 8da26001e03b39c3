#pragma once

namespace brawl {

// SIGINT and SIGTERM end the game the way a close request does, so that what it holds outside
// the process (a port opened on the router) is given back on the way out: the first signal
// only sets a flag for the loop to see; a second one ends the process at once, as by default.
void InstallStopSignals();
// The signal that asked the game to stop, or 0.
int StopSignal();

}  // namespace brawl
