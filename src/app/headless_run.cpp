#include "app/headless_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "app/controls_ini.h"
#include "app/game_run.h"
#include "app/options.h"
#include "app/player_folders.h"
#include "app/replay_files.h"
#include "base/fatal_error.h"
#include "base/i18n.h"
#include "formats/png.h"
#include "game/game.h"
#include "game/state_dump.h"
#include "platform/headless/headless_machine.h"
#include "platform/headless/input_script.h"

namespace brawl {

namespace {

constexpr int64_t kPassesWithoutScript = 600;

// The dump file ("-": standard output), written a line at a time so that what is there
// is whole lines.
class DumpFile {
 public:
  explicit DumpFile(const std::string& path) : path_(path) {
    if (path.empty()) return;
    if (path == "-") {
      file_ = stdout;
      return;
    }
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) throw Fatal(_("cannot write the dump"), path, std::strerror(errno));
  }
  DumpFile(const DumpFile&) = delete;
  DumpFile& operator=(const DumpFile&) = delete;
  ~DumpFile() {
    if (file_ && file_ != stdout) std::fclose(file_);
  }

  bool open() const { return file_ != nullptr; }

  void Write(const std::string& line) {
    if (!file_) return;
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fputc('\n', file_) == EOF ||
        std::fflush(file_) != 0) {
      throw Fatal(_("cannot write the dump"), path_ == "-" ? _("standard output") : path_,
                  std::strerror(errno));
    }
  }

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
};

// Drives a headless run from outside the game: the dump, the screenshots, the script's
// input for the next pass and the end of the run.
class HeadlessObserver : public RunObserver {
 public:
  HeadlessObserver(const Options& options, const InputScript& script, HeadlessMachine& machine)
      : script_(script), machine_(machine), dump_(options.dump) {
    if (options.frames >= 0) {
      last_pass_ = options.frames;
    } else if (!options.script.empty()) {
      last_pass_ = script.passes;
    } else {
      last_pass_ = kPassesWithoutScript;
    }
    // A script with no step runs no pass, whatever else is asked.
    if (!options.script.empty() && script.steps.empty()) last_pass_ = 0;
    for (const auto& [pass, file] : options.screenshots) screenshots_.emplace(pass, file);
  }

  void Launched(Game& game) override { WriteLine(game); }

  // Online, the script moves on with the passes this side steps the match in.
  bool NextInput(Game&) override {
    if (inputs_ >= last_pass_) return false;
    ++inputs_;
    machine_.held = NextHeld(script_, cursor_);
    return true;
  }

  void PassConfirmed(Game& game, const Match& match, int32_t pass, const std::string& net) override {
    if (dump_.open()) dump_.Write(StateDumpLine(match, game.loop, game.sound, pass, net));
    game.sound.Requested.clear();
  }

  void PassDone(Game& game) override {
    WriteLine(game);
    const auto [first, end] = screenshots_.equal_range(game.passes);
    for (auto it = first; it != end; ++it) SavePng(game.gfx.BackBuffer, it->second);
    screenshots_.erase(first, end);
    last_flipped_ = game.passes;
  }

  // Screenshots asked of passes the run never showed: said, not silently skipped.
  void WarnUntaken() const {
    for (const auto& [pass, file] : screenshots_) {
      std::fprintf(stderr,
                   _("brawl: warning: --screenshot %lld:%s not taken: the last pass shown was %lld\n"),
                   static_cast<long long>(pass), file.c_str(), static_cast<long long>(last_flipped_));
    }
  }

 private:
  void WriteLine(Game& game) {
    if (dump_.open()) dump_.Write(StateDumpLine(game, game.passes));
    game.sound.Requested.clear();
  }

  const InputScript& script_;
  HeadlessMachine& machine_;
  DumpFile dump_;
  int64_t last_pass_ = 0;
  int64_t last_flipped_ = 0;
  int64_t inputs_ = 0;  // passes whose input the script has given (online: that stepped the match)
  ScriptCursor cursor_;
  std::multimap<int64_t, std::string> screenshots_;
};

}  // namespace

int RunHeadlessGame(const Options& given) {
  Options options = given;
  Replay playback;
  if (!options.replay.empty()) {
    playback = ReadReplay(options.replay);
    TakeReplayChoices(playback, options);
  }
  // A bad script is refused before anything else happens, the dump included.
  InputScript script;
  if (!options.script.empty()) script = ReadInputScript(options.script, options.joysticks);
  const Controls controls = ReadControls(ConfigFolder(options));

  HeadlessSetup setup;
  setup.clock_start = options.clock_start;
  setup.frame_ms = options.frame_ms;
  setup.joysticks = options.joysticks;
  setup.choices = {options.hires, options.show_fps, {options.joystick[0], options.joystick[1]}};
  auto machine = std::make_unique<HeadlessMachine>(setup);
  machine->keyboard.UseKeyMap(controls.keys);
  HeadlessObserver observer(options, script, *machine);
  PlayGame(machine->platform, options, options.replay.empty() ? nullptr : &playback, &observer);
  observer.WarnUntaken();
  return 0;
}

}  // namespace brawl
