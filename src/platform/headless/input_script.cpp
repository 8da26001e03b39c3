#include "platform/headless/input_script.h"

#include <algorithm>
#include <array>

#include "base/fatal_error.h"
#include "base/file_reader.h"
#include "base/i18n.h"
#include "base/printable.h"

namespace brawl {

namespace {

constexpr int64_t kMaxCount = 1000000000;
// The longest useful line names every key and button once, well under this; anything longer
// is not a script.
constexpr size_t kMaxLineBytes = 4096;
// A line a pass for an hour is a few megabytes.
constexpr int64_t kMaxScriptBytes = int64_t{16} << 20;

constexpr std::array<std::string_view, static_cast<size_t>(Key::Count)> kKeyNames = {
    "Up", "Down", "Left", "Right", "Num1", "Num2",  "Num3",  "Num4",   "S", "X",
    "C",  "Z",    "N",    "B",     "M",    "Enter", "Space", "Escape", "F3"};

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

// Where a line is, for a message: built only when there is one to give.
struct Where {
  const std::string& source;
  int64_t line;
  std::string Text() const { return Fill(_("{1}, line {2}"), {source, std::to_string(line)}); }
};

int64_t ParseCount(std::string_view word, const Where& where) {
  int64_t value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') {
      throw UsageError(
          Fill(_("{1}: the count must be decimal digits, not '{2}'"), {where.Text(), Printable(word)}));
    }
    value = value * 10 + (c - '0');
    if (value > kMaxCount) break;  // leading zeros may follow a long way; big values stop here
  }
  if (value < 1 || value > kMaxCount) {
    throw UsageError(
        Fill(_("{1}: the count must be between 1 and 1000000000, not {2}"), {where.Text(), Printable(word)}));
  }
  return value;
}

void AddName(std::string_view word, int joysticks, const Where& where, HeldInput& held) {
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
          throw UsageError(Fill(_("{1}: {2} names joystick {3}, but --joysticks attaches {4}"),
                                {where.Text(), word, std::to_string(stick + 1), std::to_string(joysticks)}));
        }
        held.joystick[stick] = static_cast<uint8_t>(held.joystick[stick] | 1u << c);
        return;
      }
    }
  }
  throw UsageError(Fill(_("{1}: unknown key '{2}'"), {where.Text(), Printable(word)}));
}

// Adds one line of a script; `line_number` counts every physical line.
void AddLine(std::string_view line, int64_t line_number, int joysticks, const std::string& source,
             InputScript& script) {
  line = line.substr(0, line.find('#'));
  const std::vector<std::string_view> words = Words(line);
  if (words.empty()) return;

  const Where where{source, line_number};
  ScriptStep step;
  step.count = ParseCount(words[0], where);
  for (size_t w = 1; w < words.size(); ++w) AddName(words[w], joysticks, where, step.held);
  script.passes += step.count;  // at most a billion a line: no overflow from any real file
  script.steps.push_back(step);
}

}  // namespace

InputScript ParseInputScript(std::string_view text, int joysticks, const std::string& source) {
  InputScript script;
  int64_t line_number = 0;
  size_t at = 0;
  while (at < text.size()) {
    const size_t end = std::min(text.find('\n', at), text.size());
    AddLine(text.substr(at, end - at), ++line_number, joysticks, source, script);
    at = end + 1;
  }
  return script;
}

InputScript ReadInputScript(const std::string& path, int joysticks) {
  const std::string source =
      path == "-" ? std::string(_("input script (standard input)")) : Fill(_("input script {1}"), {path});
  InputScript script;
  int64_t line_number = 0;
  const FileFailure failure = ReadLines(path, kMaxLineBytes, kMaxScriptBytes, [&](std::string_view line) {
    AddLine(line, ++line_number, joysticks, source, script);
  });
  if (failure.line > 0) throw UsageError(Where{source, failure.line}.Text() + ": " + failure.reason);
  if (!failure.reason.empty()) {
    throw UsageError(Fill(_("cannot read the input script: {1}: {2}"),
                          {path == "-" ? std::string(_("standard input")) : path, failure.reason}));
  }
  return script;
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
