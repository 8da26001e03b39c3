#include "net/replay.h"

#include <bit>
#include <charconv>
#include <cstdio>
#include <sstream>

#include "platform/fatal_error.h"

namespace brawl {

namespace {

constexpr const char* kHeader = "billboard-brawl replay 1";

// Floats travel as their bits, so that a reading comes back exactly.
std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", value);
  return text;
}

[[noreturn]] void Bad(const std::string& path, int line, const std::string& why) {
  throw UsageError("replay " + path + ", line " + std::to_string(line) + ": " + why);
}

uint32_t ParseHex(const std::string& word, const std::string& path, int line) {
  uint32_t value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, 16);
  if (word.empty() || error != std::errc() || end != word.data() + word.size()) {
    Bad(path, line, "'" + word.substr(0, 16) + "' is not a hexadecimal number");
  }
  return value;
}

double ParseNumber(const std::string& word, const std::string& path, int line) {
  double value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (word.empty() || error != std::errc() || end != word.data() + word.size()) {
    Bad(path, line, "'" + word.substr(0, 16) + "' is not a number");
  }
  return value;
}

}  // namespace

std::string ReplayText(const Replay& r) {
  std::ostringstream out;
  out << kHeader << "\n";
  if (r.online) {
    out << "online " << r.seed << "\n";
    for (uint32_t f : r.frames) out << Hex(f & 0xFFFF) << " " << Hex(f >> 16) << "\n";
    return out.str();
  }
  char clock[64];
  std::snprintf(clock, sizeof clock, "%.17g %.17g", r.clock_start, r.frame_ms);
  out << "local " << r.hires << " " << r.show_fps << " " << r.joysticks << " " << r.joystick[0] << " "
      << r.joystick[1] << " " << clock << " " << Hex(std::bit_cast<uint32_t>(r.launch_reading)) << "\n";
  for (const ReplayPass& p : r.passes) {
    out << Hex(p.player[0]) << " " << Hex(p.player[1]) << " " << (p.enter ? "E" : "-") << (p.space ? "S" : "-")
        << (p.escape ? "X" : "-");
    for (float reading : p.readings) out << " " << Hex(std::bit_cast<uint32_t>(reading));
    out << "\n";
  }
  return out.str();
}

Replay ParseReplay(const std::string& text, const std::string& path) {
  std::istringstream in(text);
  std::string line;
  int number = 1;
  if (!std::getline(in, line) || line != kHeader) Bad(path, 1, "not a replay of this version");
  Replay r;
  ++number;
  if (!std::getline(in, line)) Bad(path, number, "the kind of run is missing");
  std::istringstream kind(line);
  std::string word;
  kind >> word;
  if (word == "online") {
    r.online = true;
    kind >> word;
    r.seed = static_cast<uint32_t>(ParseNumber(word, path, number));
  } else if (word == "local") {
    std::string fields[8];
    for (std::string& field : fields) kind >> field;
    r.hires = fields[0] == "1", r.show_fps = fields[1] == "1";
    r.joysticks = static_cast<int>(ParseNumber(fields[2], path, number));
    r.joystick[0] = fields[3] == "1", r.joystick[1] = fields[4] == "1";
    r.clock_start = ParseNumber(fields[5], path, number);
    r.frame_ms = ParseNumber(fields[6], path, number);
    r.launch_reading = std::bit_cast<float>(ParseHex(fields[7], path, number));
    if (r.joysticks < 0 || r.joysticks > 2 || !(r.frame_ms > 0)) Bad(path, number, "settings out of range");
  } else {
    Bad(path, number, "'" + word.substr(0, 16) + "' is neither local nor online");
  }
  while (std::getline(in, line)) {
    ++number;
    std::istringstream words(line);
    std::string a, b;
    words >> a >> b;
    if (r.online) {
      r.frames.push_back((ParseHex(a, path, number) & 0xFFFF) | (ParseHex(b, path, number) & 0xFFFF) << 16);
      continue;
    }
    ReplayPass p;
    p.player[0] = static_cast<uint16_t>(ParseHex(a, path, number));
    p.player[1] = static_cast<uint16_t>(ParseHex(b, path, number));
    std::string keys;
    words >> keys;
    if (keys.size() != 3) Bad(path, number, "the shared keys are missing");
    p.enter = keys[0] == 'E', p.space = keys[1] == 'S', p.escape = keys[2] == 'X';
    for (std::string reading; words >> reading;) {
      p.readings.push_back(std::bit_cast<float>(ParseHex(reading, path, number)));
    }
    r.passes.push_back(std::move(p));
  }
  return r;
}

}  // namespace brawl
