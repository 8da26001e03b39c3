#include "platform/headless/input_script.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "platform/fatal_error.h"

namespace brawl {

namespace {

constexpr int64_t kMaxCount = 1000000000;

constexpr std::array<std::string_view, static_cast<size_t>(Key::Count)> kKeyNames = {
    "Up", "Down", "Left", "Right", "Num1", "Num2", "Num3",  "Num4",  "S",
    "X",  "C",    "Z",    "N",     "B",    "M",    "Enter", "Space", "Escape"};

constexpr std::array<std::string_view, static_cast<size_t>(StickControl::Count)> kStickNames = {
    "Left", "Right", "Up", "Down", "B0", "B1", "B2", "B3"};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// A word to show in a message: printable, and not a screenful.
std::string Shown(std::string_view word) {
  std::string shown;
  for (char c : word.substr(0, 40)) {
    shown += (c >= 0x20 && c < 0x7f) ? c : '?';
  }
  if (word.size() > 40) shown += "...";
  return shown;
}

int64_t ParseCount(std::string_view word, const std::string& where) {
  int64_t value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') {
      throw UsageError(where + ": the count must be decimal digits, not '" + Shown(word) + "'");
    }
    value = value * 10 + (c - '0');
    if (value > kMaxCount) break;  // leading zeros may follow a long way; big values stop here
  }
  if (value < 1 || value > kMaxCount) {
    throw UsageError(where + ": the count must be between 1 and 1000000000, not " + Shown(word));
  }
  return value;
}

void AddName(std::string_view word, int joysticks, const std::string& where, HeldInput& held) {
  for (size_t k = 0; k < kKeyNames.size(); ++k) {
    if (word == kKeyNames[k]) {
      held.keys |= 1u << k;
      return;
    }
  }
  if (word.size() > 3 && word[0] == 'J' && (word[1] == '1' || word[1] == '2') && word[2] == '.') {
    const int stick = word[1] - '1';
    for (size_t c = 0; c < kStickNames.size(); ++c) {
      if (word.substr(3) == kStickNames[c]) {
        if (stick >= joysticks) {
          throw UsageError(where + ": " + std::string(word) + " names joystick " + std::to_string(stick + 1) +
                           ", but --joysticks attaches " + std::to_string(joysticks));
        }
        held.joystick[stick] = static_cast<uint8_t>(held.joystick[stick] | 1u << c);
        return;
      }
    }
  }
  throw UsageError(where + ": unknown key '" + Shown(word) + "'");
}

}  // namespace

InputScript ParseInputScript(std::string_view text, int joysticks, const std::string& source) {
  InputScript script;
  int64_t line_number = 0;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    ++line_number;

    line = line.substr(0, line.find('#'));
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) continue;

    const std::string where = source + ", line " + std::to_string(line_number);
    ScriptStep step;
    step.count = ParseCount(words[0], where);
    for (size_t w = 1; w < words.size(); ++w) AddName(words[w], joysticks, where, step.held);
    script.passes += step.count;  // at most a billion a line: no overflow from any real file
    script.steps.push_back(step);
  }
  return script;
}

InputScript ReadInputScript(const std::string& path, int joysticks) {
  std::string text;
  if (path == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    if (std::cin.bad()) throw Fatal("cannot read the input script", "standard input", std::strerror(errno));
    return ParseInputScript(text, joysticks, "input script (standard input)");
  }
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    throw Fatal("cannot read the input script", path, "is a directory");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Fatal("cannot read the input script", path, std::strerror(errno));
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) throw Fatal("cannot read the input script", path, std::strerror(errno));
  return ParseInputScript(buffer.str(), joysticks, "input script " + path);
}

HeldInput NextHeld(const InputScript& script, ScriptCursor& cursor) {
  while (cursor.step < script.steps.size() && cursor.used >= script.steps[cursor.step].count) {
    ++cursor.step;
    cursor.used = 0;
  }
  if (cursor.step >= script.steps.size()) return HeldInput{};
  ++cursor.used;
  return script.steps[cursor.step].held;
}

}  // namespace brawl
