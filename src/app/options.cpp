#include "app/options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <string_view>
#include <tuple>

#include "app/exit_status.h"
#include "base/fatal_error.h"
#include "base/i18n.h"
#include "base/printable.h"
#include "net/rendezvous_code.h"

namespace brawl {

namespace {

bool IsDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Digits only (no sign, no blanks), within [low, high].
int64_t ParseWhole(std::string_view option, std::string_view text, int64_t low, int64_t high) {
  if (!IsDigits(text)) {
    throw UsageError(Fill(_("{1} wants a whole number, not '{2}'"), {option, text}));
  }
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    throw UsageError(high == std::numeric_limits<int64_t>::max()
                         ? Fill(_("{1} must be at least {2}, not {3}"), {option, std::to_string(low), text})
                         : Fill(_("{1} must be between {2} and {3}, not {4}"),
                                {option, std::to_string(low), std::to_string(high), text}));
  }
  return value;
}

// HOST[:PORT] as `option` takes it: a name or an IPv4 address, the port within [1, `last_port`].
std::pair<std::string, int> ParseWhere(const std::string& option, const std::string& where, int port,
                                       int last_port) {
  // ENet speaks IPv4: an IPv6 address ("::1", "[::1]:47474") is refused by name.
  if (where.find('[') != std::string::npos || std::count(where.begin(), where.end(), ':') > 1)
    throw UsageError(Fill(_("{1} {2}: IPv6 addresses are not supported; give an IPv4 address or a name"),
                          {option, Printable(where)}));
  const size_t colon = where.rfind(':');
  if (colon != std::string::npos)
    port =
        static_cast<int>(ParseWhole(Fill(_("{1}'s port"), {option}), where.substr(colon + 1), 1, last_port));
  if (colon == 0) throw UsageError(Fill(_("{1} wants HOST[:PORT], not '{2}'"), {option, Printable(where)}));
  return {where.substr(0, colon), port};
}

double ParseDecimal(std::string_view option, std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    throw UsageError(Fill(_("{1} wants a decimal number, not '{2}'"), {option, text}));
  }
  return value;
}

// "Exit status:" and each status with its meaning, wrapped to the width of the options above.
std::string ExitStatusText() {
  constexpr size_t kWidth = 96;
  std::string text = _("Exit status:");
  for (const ExitStatus& status : kExitStatuses) {
    std::string line = "  " + std::to_string(status.code) + "  ";
    for (std::string_view words = _(status.meaning); !words.empty();) {
      const size_t space = words.find(' ');
      const std::string_view word = words.substr(0, space);
      if (line.size() + word.size() > kWidth) {
        text += "\n" + line.substr(0, line.size() - 1);
        line = "     ";
      }
      line += std::string(word) + " ";
      words = space == std::string_view::npos ? std::string_view{} : words.substr(space + 1);
    }
    text += "\n" + line.substr(0, line.size() - 1);
  }
  return text;
}

}  // namespace

Options ParseOptions(int argc, char** argv) {
  Options options;
  CLI::App app(_("Billboard Brawl, a small real-time 3-D arena shooter for two players at one PC.\n"
                 "Without options: the settings window, then the game in full screen."),
               "brawl");
  // Unknown words are named by us, one line each, in the order given.
  app.allow_extras();
  app.set_help_flag("-h,--help", _("Show this list and exit"));
  app.footer(ExitStatusText());
  app.set_version_flag("--version", "brawl " BRAWL_VERSION, _("Print the version and exit"));
  app.get_formatter()->column_width(24);

  // Every value is taken as text and checked below, so that the messages are ours.
  std::map<std::string, std::vector<std::string>> values;
  auto valued = [&](const std::string& name, const std::string& meta, const std::string& help) {
    return app.add_option(name, values[name], help)
        ->type_name(meta)
        ->expected(1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  };
  app.add_flag("--windowed", options.windowed, _("Play in a resizable window instead of full screen"));
  valued("--app-path", "DIR", _("Read the data files from DIR"));
  valued("--config-dir", "DIR", _("Use DIR as the player's configuration folder (env.ini, controls.ini)"));
  app.add_flag("--write-controls", options.write_controls,
               _("Write the player's controls.ini with today's keys, commented, and exit"));
  app.add_flag("--headless", options.headless, _("No window, sound or real input: a scripted run (below)"));
  app.add_flag("--hires", options.hires, _("(headless) play at 640 x 480"));
  app.add_flag("--show-fps", options.show_fps, _("(headless) show the frame rate"));
  valued("--joysticks", "N", _("(headless) attach N joysticks (0, 1 or 2)"));
  valued("--joystick", "P", _("(headless) player P (1 or 2) steers with a joystick"));
  valued("--script", "FILE", _("(headless) the script of held keys; - reads standard input"));
  valued("--frames", "N", _("(headless) end after N passes"));
  valued("--dump", "FILE", _("(headless) write one JSON line of state per pass"));
  valued("--screenshot", "N:FILE", _("(headless, repeatable) save the picture of pass N as PNG"));
  valued("--clock-start", "S", _("(headless) the virtual clock at the launch, in seconds"));
  valued("--frame-ms", "MS", _("(headless) how far each flip moves the virtual clock"));
  std::vector<std::string> host_port;
  app.add_option("--host", host_port, _("Play online: wait for one other player on UDP PORT (default 47474)"))
      ->type_name("[PORT]")
      ->expected(0, 1)
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  std::vector<std::string> join_where;
  app.add_option("--join", join_where,
                 _("Play online: join the game hosted at HOST, by game code, or (alone) one found on the "
                   "local network"))
      ->type_name("[HOST[:PORT]|XXXX-XXXX]")
      ->expected(0, 1)
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  valued("--rendezvous", "HOST[:PORT]",
         _("Online: the rendezvous server of game codes (default port 47475)"));
  bool no_port_mapping = false;
  app.add_flag("--no-port-mapping", no_port_mapping,
               _("Online: the host does not ask the router to open its port"));
  valued("--input-delay", "N", _("Online: a fixed input delay of N frames (0-8) on this side"));
  valued("--net-sim", "RTT,JITTER,LOSS[,SEED]",
         _("Online: delay and drop what this side sends, to try bad links"));
  valued("--record", "FILE", _("Write a replay of this run"));
  valued("--replay", "FILE", _("Play a replay back instead of reading the players"));
  valued("--force-rollback", "N", _("(headless) every pass steps the last N (1-8) again; for tests"));
  valued("--desync-at", "FRAME", _("Online: this side's match goes wrong at FRAME; for tests"));

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    options.answer = app.help();
    return options;
  } catch (const CLI::CallForVersion& e) {
    options.answer = std::string(e.what()) + "\n";
    return options;
  } catch (const CLI::ArgumentMismatch& e) {
    // An option at the end, or followed by another option, has no value.
    const std::string message = e.what();
    throw UsageError(Fill(_("{1} needs a value"), {message.substr(0, message.find(':'))}));
  } catch (const CLI::ParseError& e) {
    throw UsageError(e.what());
  }
  for (const std::string& extra : app.remaining()) {
    if (extra.starts_with("-") && extra != "-")
      throw UsageError(Fill(_("{1}: unknown option (brawl --help lists them)"), {Printable(extra)}));
    throw UsageError(Fill(_("unexpected argument '{1}'"), {Printable(extra)}));
  }

  std::vector<std::string> headless_only;
  for (const char* flag : {"--hires", "--show-fps"}) {
    if (app.count(flag) > 0) headless_only.push_back(flag);
  }
  // The one value of an option that may be given once, or none.
  auto single = [&](const std::string& name) -> const std::string* {
    const std::vector<std::string>& given = values[name];
    if (given.size() > 1) throw UsageError(Fill(_("{1} is given twice"), {name}));
    return given.empty() ? nullptr : &given.front();
  };
  for (auto& [name, given] : values) {
    for (const std::string& value : given) {
      // A following option is not a value.
      if (value.empty() || value.starts_with("--")) throw UsageError(Fill(_("{1} needs a value"), {name}));
    }
  }

  if (const std::string* dir = single("--app-path")) options.app_path = *dir;
  if (const std::string* dir = single("--config-dir")) options.config_dir = *dir;
  std::vector<int> joystick_boxes;
  for (const std::string name : {"--joysticks", "--joystick", "--script", "--frames", "--dump",
                                 "--screenshot", "--clock-start", "--frame-ms"}) {
    if (!values[name].empty()) headless_only.push_back(name);
  }
  if (const std::string* n = single("--joysticks")) {
    options.joysticks = static_cast<int>(ParseWhole("--joysticks", *n, 0, 2));
  }
  for (const std::string& p : values["--joystick"]) {
    joystick_boxes.push_back(static_cast<int>(ParseWhole("--joystick", p, 1, 2)));
  }
  if (const std::string* file = single("--script")) options.script = *file;
  if (const std::string* n = single("--frames")) {
    options.frames = ParseWhole("--frames", *n, 0, std::numeric_limits<int64_t>::max());
  }
  if (const std::string* file = single("--dump")) options.dump = *file;
  for (const std::string_view text : values["--screenshot"]) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon + 1 == text.size()) {
      throw UsageError(Fill(_("--screenshot wants PASS:FILE, not '{1}'"), {text}));
    }
    const int64_t pass =
        ParseWhole(_("--screenshot's pass"), text.substr(0, colon), 1, std::numeric_limits<int64_t>::max());
    options.screenshots.emplace_back(pass, std::string(text.substr(colon + 1)));
  }
  if (const std::string* s = single("--clock-start")) {
    options.clock_start = ParseDecimal("--clock-start", *s);
    if (options.clock_start < 0) throw UsageError(_("--clock-start must not be negative"));
  }
  if (const std::string* ms = single("--frame-ms")) {
    options.frame_ms = ParseDecimal("--frame-ms", *ms);
    if (!(options.frame_ms > 0)) throw UsageError(_("--frame-ms must be greater than 0"));
  }

  options.host = app.count("--host") > 0;
  if (app.count("--host") > 1) throw UsageError(Fill(_("{1} is given twice"), {"--host"}));
  // Without a port CLI11 hands over an empty word.
  std::erase(host_port, "");
  if (!host_port.empty()) {
    if (host_port.front().starts_with("--"))
      throw UsageError(Fill(_("--host takes a port, not {1}"), {host_port.front()}));
    options.port = static_cast<int>(ParseWhole("--host", host_port.front(), 1, 65535));
  }
  if (app.count("--join") > 1) throw UsageError(_("--join is given twice"));
  std::erase(join_where, "");
  options.join_lan = app.count("--join") > 0 && join_where.empty();
  if (!join_where.empty()) {
    const std::string& where = join_where.front();
    if (where.starts_with("--"))
      throw UsageError(Fill(_("--join takes HOST[:PORT] or a game code, not {1}"), {Printable(where)}));
    if (HasGameCodeShape(where)) {
      const std::optional<GameCode> code = ParseGameCode(where);
      if (!code)
        throw UsageError(
            Fill(_("--join {1}: not a game code (codes have no 0, 1, I, L or O)"), {Printable(where)}));
      options.code = FormatGameCode(*code);
    } else {
      std::tie(options.join, options.port) = ParseWhere("--join", where, options.port, 65535);
    }
  }
  if (const std::string* where = single("--rendezvous")) {
    std::tie(options.rendezvous, options.rendezvous_port) = ParseWhere("--rendezvous", *where, 47475, 65534);
  }
  options.port_mapping = !no_port_mapping;
  if (const std::string* n = single("--input-delay")) {
    options.input_delay = static_cast<int>(ParseWhole("--input-delay", *n, 0, 8));
  }
  if (const std::string* sim = single("--net-sim")) {
    std::vector<std::string> parts;
    for (size_t from = 0;;) {
      const size_t comma = sim->find(',', from);
      parts.push_back(sim->substr(from, comma - from));
      if (comma == std::string::npos) break;
      from = comma + 1;
    }
    if (parts.size() < 3 || parts.size() > 4)
      throw UsageError(Fill(_("--net-sim wants RTT,JITTER,LOSS[,SEED], not '{1}'"), {*sim}));
    options.net_sim = true;
    options.sim_rtt_ms = static_cast<double>(ParseWhole(_("--net-sim's RTT"), parts[0], 0, 10000));
    options.sim_jitter_ms = static_cast<double>(ParseWhole(_("--net-sim's JITTER"), parts[1], 0, 10000));
    options.sim_loss_percent = static_cast<double>(ParseWhole(_("--net-sim's LOSS"), parts[2], 0, 100));
    if (parts.size() == 4)
      options.sim_seed = static_cast<uint32_t>(ParseWhole(_("--net-sim's SEED"), parts[3], 0, 4294967295));
  }
  if (const std::string* file = single("--record")) options.record = *file;
  if (const std::string* file = single("--replay")) options.replay = *file;
  if (const std::string* n = single("--force-rollback")) {
    headless_only.push_back("--force-rollback");
    options.force_rollback = static_cast<int>(ParseWhole("--force-rollback", *n, 1, 8));
  }
  if (const std::string* n = single("--desync-at")) {
    options.desync_at = static_cast<int32_t>(ParseWhole("--desync-at", *n, 1, 2147483647));
  }
  const bool online = PlaysOnline(options);
  const bool joins = !options.join.empty() || options.join_lan || !options.code.empty();
  if (options.desync_at > 0 && !online) throw UsageError(_("--desync-at needs --host or --join"));
  if (options.host && joins) throw UsageError(_("--host and --join exclude each other"));
  if (!options.rendezvous.empty() && !online) throw UsageError(_("--rendezvous needs --host or --join"));
  if (!options.port_mapping && !options.host) throw UsageError(_("--no-port-mapping needs --host"));
  const char* server = std::getenv("BRAWL_RENDEZVOUS");
  if (options.rendezvous.empty() && online && server != nullptr && *server != 0)
    std::tie(options.rendezvous, options.rendezvous_port) =
        ParseWhere("BRAWL_RENDEZVOUS", server, 47475, 65534);
  if (!options.code.empty() && options.rendezvous.empty())
    throw UsageError(Fill(_("--join {1} needs --rendezvous HOST (or BRAWL_RENDEZVOUS)"), {options.code}));
  if (online && !options.replay.empty()) throw UsageError(_("--replay plays alone, not online"));
  // A replay brings its own choices, clock and length.
  for (const char* own : {"--frames", "--hires", "--show-fps", "--script", "--clock-start", "--frame-ms"}) {
    if (!options.replay.empty() && (app.count(own) > 0 || !values[own].empty()))
      throw UsageError(Fill(_("{1}: a replay brings its own; leave it out beside --replay"), {own}));
  }
  if (!online && (options.input_delay >= 0 || options.net_sim)) {
    throw UsageError(
        Fill(_("{1} needs --host or --join"), {options.net_sim ? "--net-sim" : "--input-delay"}));
  }
  if (options.force_rollback > 0 && (online || !options.replay.empty())) {
    throw UsageError(_("--force-rollback is for local runs"));
  }

  if (!options.headless && !headless_only.empty()) {
    throw UsageError(Fill(_("{1} needs --headless"), {headless_only.front()}));
  }
  if (options.headless && options.windowed) {
    throw UsageError(_("--windowed has no window to show with --headless"));
  }
  if (options.write_controls && (options.headless || options.windowed)) {
    throw UsageError(_("--write-controls writes a file and plays nothing: give it alone"));
  }
  for (int player : joystick_boxes) {
    // The settings window offers player P's box only when joystick P is attached.
    if (player > options.joysticks) {
      throw UsageError(Fill(_("--joystick {1} needs --joysticks {1} or more (attached: {2})"),
                            {std::to_string(player), std::to_string(options.joysticks)}));
    }
    options.joystick[player - 1] = true;
  }
  return options;
}

bool PlaysOnline(const Options& options) {
  return options.host || !options.join.empty() || options.join_lan || !options.code.empty();
}

}  // namespace brawl
