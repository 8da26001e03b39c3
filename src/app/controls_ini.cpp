#include "app/controls_ini.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "app/options.h"
#include "app/player_folders.h"
#include "base/fatal_error.h"
#include "base/file_reader.h"
#include "base/i18n.h"
#include "platform/sdl/sdl_key_names.h"

namespace brawl {

namespace {

constexpr int kCommands = 7;
// Fourteen short lines and their comments; anything near this size is some other file.
constexpr int64_t kMaxControlsFileBytes = 64 * 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Command {
  const char* name;
  const char* meaning;
  Key keys[2];  // the game's key that plays it, for player 1 and player 2
};

constexpr Command kCommandTable[kCommands] = {
    {"forward", N_("away from your camera"), {Key::Up, Key::S}},
    {"back", N_("towards your camera"), {Key::Down, Key::X}},
    {"right", N_("step right"), {Key::Right, Key::C}},
    {"left", N_("step left"), {Key::Left, Key::Z}},
    {"turn_right", N_("turn right"), {Key::Num2, Key::N}},
    {"turn_left", N_("turn left"), {Key::Num1, Key::B}},
    {"fire", N_("fire"), {Key::Num3, Key::M}},
};

// Keys the game or its window answer to whoever plays: never a player's.
constexpr const char* kReserved[] = {"Return", "Keypad Enter", "Space", "Escape", "F3", "F11", "F12"};

std::string Trim(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Text as a message may show it: one line, printable, short.
std::string Shown(const std::string& text) {
  std::string shown;
  for (char c : text.substr(0, 40)) shown += (c >= 0x20 && c < 0x7f) ? c : '?';
  if (text.size() > 40) shown += "...";
  return shown;
}

struct Binding {
  int line = 0;  // 0: today's key, not named in the file
  int scancode = 0;
};

}  // namespace

Controls ParseControls(const std::string& text, const std::string& path) {
  auto fault = [&](int line, const std::string& why) {
    return Fatal(_("controls file"), path + ":" + std::to_string(line), why);
  };
  Controls controls;
  const KeyMap today = DefaultKeyMap();
  Binding bindings[2][kCommands];
  for (int p = 0; p < 2; ++p) {
    for (int c = 0; c < kCommands; ++c) {
      bindings[p][c].scancode = today[static_cast<size_t>(kCommandTable[c].keys[p])].first;
    }
  }
  int pad_lines[2] = {0, 0};

  // Some editors begin a UTF-8 file with a byte-order mark.
  std::istringstream in(text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text);
  int player = -1;
  int number = 0;
  for (std::string raw; std::getline(in, raw);) {
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    if (raw.find('\0') != std::string::npos) throw fault(number, _("holds a NUL byte: this is no text file"));
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line.front() == '[') {
      if (line == "[player1]" || line == "[player2]") {
        player = line[7] - '1';
        continue;
      }
      throw fault(number,
                  Fill(_("unknown section '{1}' (there are [player1] and [player2])"), {Shown(line)}));
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      throw fault(number,
                  Fill(_("'{1}' is neither a [section], a # comment nor NAME = VALUE"), {Shown(line)}));
    }
    if (player < 0) throw fault(number, _("a setting before [player1] or [player2]"));
    const std::string name = Trim(line.substr(0, equals));
    const std::string value = Trim(line.substr(equals + 1));
    if (value.empty()) throw fault(number, Fill(_("{1} has no value"), {Shown(name)}));
    if (name == "gamepad") {
      if (pad_lines[player] != 0) throw fault(number, _("gamepad is given twice for this player"));
      pad_lines[player] = number;
      controls.pads[static_cast<size_t>(player)] = value;
      continue;
    }
    int command = 0;
    while (command < kCommands && name != kCommandTable[command].name) ++command;
    if (command == kCommands) {
      throw fault(number,
                  Fill(_("unknown setting '{1}' (forward, back, right, left, turn_right, turn_left, fire, "
                         "gamepad)"),
                       {Shown(name)}));
    }
    Binding& binding = bindings[player][command];
    if (binding.line != 0) {
      throw fault(number, Fill(_("{1} is given twice for this player (first on line {2})"),
                               {name, std::to_string(binding.line)}));
    }
    const int scancode = ScancodeOfKeyName(value);
    if (scancode == 0) throw fault(number, Fill(_("unknown key name '{1}'"), {Shown(value)}));
    for (const char* reserved : kReserved) {
      if (scancode == ScancodeOfKeyName(reserved)) {
        throw fault(
            number,
            Fill(_("'{1}' is one of the keys every player shares (Enter, Space, Escape, F3, F11, F12)"),
                 {Shown(value)}));
      }
    }
    binding = Binding{number, scancode};
  }

  // One key, one command: a clash is reported on the line that made it.
  for (int p = 0; p < 2; ++p) {
    for (int c = 0; c < kCommands; ++c) {
      const Binding& b = bindings[p][c];
      for (int q = 0; q < 2; ++q) {
        for (int d = 0; d < kCommands; ++d) {
          const Binding& other = bindings[q][d];
          if ((q * kCommands + d) <= (p * kCommands + c) || other.scancode != b.scancode) continue;
          const int line = std::max(b.line, other.line);
          throw fault(line, Fill(_("'{1}' is given to both player{2} {3} and player{4} {5}"),
                                 {KeyNameOf(b.scancode), std::to_string(p + 1), kCommandTable[c].name,
                                  std::to_string(q + 1), kCommandTable[d].name}));
        }
      }
    }
  }

  for (int p = 0; p < 2; ++p) {
    for (int c = 0; c < kCommands; ++c) {
      const size_t key = static_cast<size_t>(kCommandTable[c].keys[p]);
      const int scancode = bindings[p][c].scancode;
      if (scancode == today[key].first) continue;  // today's key keeps its NumLock twin
      controls.keys[key] = KeyPlaces{scancode, 0};
    }
  }
  // A twin that another command now uses is that command's alone.
  for (KeyPlaces& places : controls.keys) {
    for (const KeyPlaces& other : controls.keys) {
      if (places.second != 0 && other.first == places.second) places.second = 0;
    }
  }
  // So is a key the game reads besides the fourteen (player 1's spare button, keypad 4): a
  // command given it takes it, and the spare goes without.
  for (size_t key = 0; key < controls.keys.size(); ++key) {
    bool command_key = false;
    for (const Command& command : kCommandTable)
      command_key = command_key || key == static_cast<size_t>(command.keys[0]) ||
                    key == static_cast<size_t>(command.keys[1]);
    for (const Command& command : kCommandTable) {
      for (const Key owner : command.keys) {
        if (!command_key && controls.keys[static_cast<size_t>(owner)].first == controls.keys[key].first)
          controls.keys[key] = KeyPlaces{};
      }
    }
  }
  return controls;
}

Controls ReadControls(const std::string& config_folder) {
  if (config_folder.empty()) return Controls{};
  const std::string path = config_folder + "controls.ini";
  if (!PlayerFileThere(path, _("controls file"), _("the game plays with today's keys"))) return Controls{};
  // A folder or a named pipe at that name is refused at once, as every other file is.
  std::string text;
  const FileFailure failure = ReadWholeFile(path, kMaxControlsFileBytes, text);
  if (failure.at_open)
    throw Fatal(_("controls file"), path, Fill(_("cannot be opened: {1}"), {failure.reason}));
  if (!failure.reason.empty()) throw Fatal(_("controls file"), path, failure.reason);
  return ParseControls(text, path);
}

std::string ControlsFileText() {
  const KeyMap today = DefaultKeyMap();
  std::string text =
      _("# Billboard Brawl: the players' keys and gamepads.\n"
        "#\n"
        "# Each command takes one key, by SDL's name for its place on the keyboard (as \"Up\",\n"
        "# \"Keypad 3\", \"S\", \"Right Shift\"). No key may serve two commands; Return, Space,\n"
        "# Escape, F3, F11 and F12 are the game's own. A command left out keeps the key below.\n"
        "#\n"
        "# gamepad = which pad this player takes when the settings window ticks it: its place\n"
        "# in the list (1, 2, ...), its name or its GUID. Without it the pads go in order.\n"
        "#\n");
  // A comment has a line of its own: "Keypad #" is a key.
  for (const Command& command : kCommandTable)
    text += "# " + std::string(command.name) + ": " + _(command.meaning) + "\n";
  for (int p = 0; p < 2; ++p) {
    text += "\n[player" + std::to_string(p + 1) + "]\n";
    for (const Command& command : kCommandTable) {
      text += std::string(command.name) + " = " +
              KeyNameOf(today[static_cast<size_t>(command.keys[p])].first) + "\n";
    }
    text += "# gamepad = " + std::to_string(p + 1) + "\n";
  }
  return text;
}

int WriteControlsFile(const Options& options) {
  const std::string folder = ConfigFolder(options);
  if (folder.empty()) {
    throw Fatal(_("cannot write the controls file"), "controls.ini",
                _("neither HOME nor XDG_CONFIG_HOME is set"));
  }
  const std::string path = folder + "controls.ini";
  std::error_code error;
  if (std::filesystem::exists(path, error)) {
    throw Fatal(_("cannot write the controls file"), path,
                _("it exists already; move it away to start afresh"));
  }
  std::filesystem::create_directories(folder, error);
  if (error) throw Fatal(_("cannot write the controls file"), folder, error.message());
  std::ofstream out(path, std::ios::binary);
  out << ControlsFileText();
  out.close();
  if (!out) throw Fatal(_("cannot write the controls file"), path, std::strerror(errno));
  std::printf(_("brawl: wrote %s\n"), path.c_str());
  return 0;
}

}  // namespace brawl
