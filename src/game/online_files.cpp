#include "game/online_files.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "game/game.h"
#include "game/online_play.h"
#include "game/state_dump.h"
#include "net/replay.h"

namespace brawl {

namespace {

Replay OnlineReplay(const OnlineGame& net) {
  Replay replay;
  replay.online = true;
  replay.seed = net.session.seed;
  replay.online_passes = net.history;
  return replay;
}

}  // namespace

std::string ReportDesync(Game& game, int32_t pass) {
  OnlineGame& net = *game.online;
  // Players and the dump call a pass of an online game a frame.
  std::string message = "desync at frame " + std::to_string(pass) + ": the two machines disagree";
  const std::string& folder = net.plan.report_folder;
  if (folder.empty()) return message + "; no report written (no HOME)";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return message + "; no report written (" + folder + ": " + error.message() + ")";
  const std::string stem = folder + "desync-" + std::to_string(std::time(nullptr)) + "-player" +
                           std::to_string(net.session.rollback.local + 1);
  std::ofstream(stem + ".replay") << ReplayText(OnlineReplay(net));
  std::ofstream(stem + ".state.json")
      << StateDumpLine(ConfirmedMatch(net.session, net.dumped), game.loop, game.sound, net.dumped, "")
      << "\n";
  return message + "; replay and state in " + stem + ".replay and " + stem + ".state.json";
}

void WriteRecord(const OnlineGame& net) {
  if (net.plan.record.empty()) return;
  std::ofstream out(net.plan.record, std::ios::binary);
  out << ReplayText(OnlineReplay(net));
  if (!out.flush())
    std::fprintf(stderr, "brawl: warning: replay: %s: cannot be written\n", net.plan.record.c_str());
}

}  // namespace brawl
