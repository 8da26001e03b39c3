#pragma once

namespace brawl {

struct Options;
struct Platform;
struct Replay;
class RunObserver;

// What the real and the headless runs share: the game on `machine` with the player's folders,
// the replay it plays (or nullptr) or records, an online game or the sync test, as the command
// line asks; returns when the game has ended.
void PlayGame(Platform& machine, const Options& options, const Replay* playback, RunObserver* observer);

}  // namespace brawl
