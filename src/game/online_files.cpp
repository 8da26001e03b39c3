#include "game/online_files.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "base/i18n.h"
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
  const std::string message =
      Fill(_("desync at frame {1}: the two machines disagree"), {std::to_string(pass)});
  const std::string& folder = net.plan.report_folder;
  if (folder.empty()) return message + _("; no report written (no HOME)");
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return message + Fill(_("; no report written ({1}: {2})"), {folder, error.message()});
  const std::string stem = folder + "desync-" + std::to_string(std::time(nullptr)) + "-player" +
                           std::to_string(net.session.rollback.local + 1);
  std::ofstream(stem + ".replay") << ReplayText(OnlineReplay(net));
  std::ofstream(stem + ".state.json")
      << StateDumpLine(ConfirmedMatch(net.session, net.dumped), game.loop, game.sound, net.dumped, "")
      << "\n";
  return message + Fill(_("; replay and state in {1} and {2}"), {stem + ".replay", stem + ".state.json"});
}

void WriteRecord(const OnlineGame& net) {
  if (net.plan.record.empty()) return;
  std::ofstream out(net.plan.record, std::ios::binary);
  out << ReplayText(OnlineReplay(net));
  if (!out.flush())
    std::fprintf(stderr, _("brawl: warning: replay: %s: cannot be written\n"), net.plan.record.c_str());
}

}  // namespace brawl
