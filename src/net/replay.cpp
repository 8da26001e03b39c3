#include "net/replay.h"

#include <bit>
#include <charconv>
#include <cstdio>
#include <sstream>

#include "base/fatal_error.h"
#include "base/i18n.h"
#include "base/printable.h"
#include "net/packed_commands.h"

namespace brawl {

namespace {

constexpr const char* kHeader = "billboard-brawl replay 1";

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", value);
  return text;
}

[[noreturn]] void Bad(const std::string& path, int line, const std::string& why) {
  throw UsageError(Fill(_("replay {1}, line {2}: {3}"), {path, std::to_string(line), why}));
}

template <typename T>
T Parse(const std::string& word, const std::string& path, int line, int base = 10) {
  T value{};
  std::from_chars_result result;
  if constexpr (std::is_floating_point_v<T>) {
    result = std::from_chars(word.data(), word.data() + word.size(), value);
  } else {
    result = std::from_chars(word.data(), word.data() + word.size(), value, base);
  }
  const bool whole = !word.empty() && result.ptr == word.data() + word.size();
  if (whole && result.ec == std::errc::result_out_of_range)
    Bad(path, line, Fill(_("'{1}' is too large"), {Printable(word, 16)}));
  if (!whole || result.ec != std::errc()) {
    Bad(path, line,
        Fill(base == 16 ? _("'{1}' is not a hexadecimal number") : _("'{1}' is not a number"),
             {Printable(word, 16)}));
  }
  return value;
}

}  // namespace

ReplayPass ToReplayPass(const Commands& c) {
  ReplayPass p;
  p.player[0] = PackCommands(c.player[0], false, false);
  p.player[1] = PackCommands(c.player[1], false, false);
  p.enter = c.enter, p.space = c.space, p.escape = c.escape;
  return p;
}

Commands FromReplayPass(const ReplayPass& p) {
  Commands c;
  c.player[0] = UnpackCommands(p.player[0]);
  c.player[1] = UnpackCommands(p.player[1]);
  c.enter = p.enter, c.space = p.space, c.escape = p.escape;
  return c;
}

int64_t ReplayPasses(const Replay& replay) {
  return static_cast<int64_t>(replay.online ? replay.online_passes.size() : replay.passes.size());
}

std::string ReplayText(const Replay& r) {
  std::ostringstream out;
  out << kHeader << "\n";
  if (r.online) {
    out << "online " << r.seed << "\n";
    for (uint32_t f : r.online_passes) out << "frame " << Hex(f & 0xFFFF) << " " << Hex(f >> 16) << "\n";
    return out.str();
  }
  char clock[64];
  std::snprintf(clock, sizeof clock, "%.17g %.17g", r.clock_start, r.frame_ms);
  out << "local " << r.hires << " " << r.show_fps << " " << r.joystick[0] << " " << r.joystick[1] << " "
      << r.wait << " " << clock << "\n";
  // Readings travel as their bits, so that each comes back exactly.
  out << "clock";
  for (float reading : r.readings) out << " " << Hex(std::bit_cast<uint32_t>(reading));
  out << "\n";
  for (const ReplayPass& p : r.passes) {
    out << "pass " << Hex(p.player[0]) << " " << Hex(p.player[1]) << " " << (p.enter ? "E" : "-")
        << (p.space ? "S" : "-") << (p.escape ? "X" : "-") << "\n";
  }
  return out.str();
}

Replay ParseReplay(const std::string& text, const std::string& path) {
  std::istringstream in(text);
  std::string line;
  // A copy that went through another system's line ends reads the same.
  const auto next = [&in, &line] {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  };
  if (!next() || line != kHeader) {
    const std::string kind = "billboard-brawl replay ";
    if (line.rfind(kind, 0) == 0)
      Bad(path, 1,
          Fill(_("a replay of version {1}; this game plays version 1"),
               {Printable(line.substr(kind.size()), 16)}));
    Bad(path, 1, Fill(_("not a replay (its first line is not '{1}')"), {kHeader}));
  }
  Replay r;
  int number = 1;
  while (next()) {
    ++number;
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    const auto want = [&](size_t n) {
      if (w.size() != n) Bad(path, number, Fill(_("{1} wants {2} values"), {kind, std::to_string(n)}));
    };
    if (number == 2 && kind == "online") {
      want(1);
      r.online = true;
      r.seed = Parse<uint32_t>(w[0], path, number);
    } else if (number == 2 && kind == "local") {
      want(7);
      r.hires = w[0] == "1", r.show_fps = w[1] == "1", r.joystick[0] = w[2] == "1",
      r.joystick[1] = w[3] == "1";
      r.wait = Parse<int>(w[4], path, number);
      r.clock_start = Parse<double>(w[5], path, number);
      r.frame_ms = Parse<double>(w[6], path, number);
      if (!(r.frame_ms > 0) || r.clock_start < 0) Bad(path, number, _("a clock that cannot run"));
    } else if (number == 2) {
      Bad(path, number, Fill(_("'{1}' is neither local nor online"), {Printable(kind, 16)}));
    } else if (r.online && kind == "frame") {
      want(2);
      r.online_passes.push_back((Parse<uint32_t>(w[0], path, number, 16) & 0xFFFF) |
                                (Parse<uint32_t>(w[1], path, number, 16) & 0xFFFF) << 16);
    } else if (!r.online && kind == "clock") {
      for (const std::string& reading : w)
        r.readings.push_back(std::bit_cast<float>(Parse<uint32_t>(reading, path, number, 16)));
    } else if (!r.online && kind == "pass") {
      want(3);
      ReplayPass p;
      p.player[0] = static_cast<uint16_t>(Parse<uint32_t>(w[0], path, number, 16));
      p.player[1] = static_cast<uint16_t>(Parse<uint32_t>(w[1], path, number, 16));
      if (w[2].size() != 3) Bad(path, number, _("the shared keys are three letters"));
      p.enter = w[2][0] == 'E', p.space = w[2][1] == 'S', p.escape = w[2][2] == 'X';
      r.passes.push_back(p);
    } else if (!kind.empty()) {
      Bad(path, number, Fill(_("'{1}' is not a line of this replay"), {Printable(kind, 16)}));
    }
  }
  return r;
}

}  // namespace brawl
