#include "app/replay_files.h"

#include <cstdio>
#include <fstream>

#include "app/options.h"
#include "base/fatal_error.h"
#include "base/file_reader.h"
#include "base/i18n.h"
#include "game/game.h"

namespace brawl {

Replay ReadReplay(const std::string& path) {
  std::string text;
  const FileFailure failure = ReadWholeFile(path, kMaxReplayBytes, text);
  if (!failure.reason.empty()) throw UsageError(Fill(_("replay {1}: {2}"), {path, failure.reason}));
  return ParseReplay(text, path);
}

void TakeReplayChoices(const Replay& replay, Options& options) {
  options.script.clear();
  if (replay.online) {
    options.frames = ReplayPasses(replay);
    return;
  }
  options.hires = replay.hires;
  options.show_fps = replay.show_fps;
  options.clock_start = replay.clock_start;
  options.frame_ms = replay.frame_ms;
  options.frames = ReplayPasses(replay);
}

void WriteLocalReplay(const std::string& path, Replay& replay, const Game& game, const Options& options) {
  const Settings& s = game.settings;
  replay.hires = s.Form.hires_ticked;
  replay.show_fps = s.Form.fps_ticked;
  replay.joystick[0] = s.UseJoystick[0], replay.joystick[1] = s.UseJoystick[1];
  replay.wait = s.ReadyGoWait;
  replay.clock_start = options.clock_start;
  replay.frame_ms = options.frame_ms;
  std::ofstream out(path, std::ios::binary);
  out << ReplayText(replay);
  if (!out.flush()) std::fprintf(stderr, _("brawl: warning: replay: %s: cannot be written\n"), path.c_str());
}

}  // namespace brawl
