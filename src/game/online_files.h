#pragma once
#include <cstdint>
#include <string>

namespace brawl {

struct Game;
struct OnlineGame;

// Writes this side's replay and last confirmed state under the report folder for a bug
// report; the one line that says so, and where.
std::string ReportDesync(Game& game, int32_t pass);
// --record: the replay of the confirmed passes; a failure to write is a one-line warning.
void WriteRecord(const OnlineGame& net);

}  // namespace brawl
