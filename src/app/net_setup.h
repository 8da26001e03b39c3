#pragma once

namespace brawl {

struct Game;
struct NetPlay;
struct Options;

// Makes `game` an online game as the command line asks (--host or --join), over ENet.
void SetUpNetPlay(Game& game, NetPlay& net, const Options& options);

}  // namespace brawl
