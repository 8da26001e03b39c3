#pragma once

namespace brawl {

struct OnlineGame;
struct Options;

// An online game as the command line asks (--host or --join), over ENet.
void SetUpOnlineGame(OnlineGame& online, const Options& options);

}  // namespace brawl
