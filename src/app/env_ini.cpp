#include "app/env_ini.h"

#include <filesystem>
#include <vector>

#include "app/player_folders.h"
#include "base/fatal_error.h"
#include "base/file_reader.h"
#include "base/i18n.h"
#include "base/printable.h"
#include "game/settings.h"

namespace brawl {

namespace {

constexpr int kFields = 6;
// Three short lines; anything near this size is some other file.
constexpr int64_t kMaxSettingsFileBytes = 64 * 1024;

bool IsLineEnd(char c) {
  return c == '\n' || c == '\r';
}

// Splits the text into its first six fields. A field ends at a comma or a line end;
// blanks in front of it are skipped; a quoted field may hold commas and ends at its
// closing quote (anything after that, up to the delimiter, is dropped).
std::vector<std::string> SplitFields(const std::string& text) {
  std::vector<std::string> fields;
  size_t i = 0;
  const size_t n = text.size();
  while (fields.size() < kFields) {
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= n) break;  // the file ended before this field began
    std::string field;
    if (text[i] == '"') {
      ++i;
      while (i < n && text[i] != '"') field += text[i++];
      if (i < n) ++i;
      while (i < n && text[i] != ',' && !IsLineEnd(text[i])) ++i;
    } else {
      while (i < n && text[i] != ',' && !IsLineEnd(text[i])) field += text[i++];
    }
    if (i < n) {
      if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      ++i;
    }
    fields.push_back(field);
  }
  return fields;
}

int16_t ParseNumber(const std::string& field, int index, const std::string& path) {
  size_t end = field.size();
  while (end > 0 && (field[end - 1] == ' ' || field[end - 1] == '\t')) --end;
  const std::string digits = field.substr(0, end);
  size_t i = 0;
  if (i < digits.size() && (digits[i] == '-' || digits[i] == '+')) ++i;
  const bool numeric = i < digits.size() && digits.find_first_not_of("0123456789", i) == std::string::npos;
  if (!numeric) {
    throw Fatal(_("settings file"), path,
                Fill(_("field {1} is not a number: \"{2}\""), {std::to_string(index), Printable(digits)}));
  }
  // More digits than any 16-bit value has is out of range too; keep stoll from overflowing.
  const size_t first = digits.find_first_not_of("0", i);
  const bool too_long = first != std::string::npos && digits.size() - first > 6;
  const long long value = too_long ? 0 : std::stoll(digits);
  if (too_long || value < -32768 || value > 32767) {
    throw Fatal(
        _("settings file"), path,
        Fill(_("field {1} is outside -32768..32767: {2}"), {std::to_string(index), Printable(digits)}));
  }
  return static_cast<int16_t>(value);
}

}  // namespace

EnvIni ParseEnvIni(const std::string& text, const std::string& path) {
  const std::vector<std::string> fields = SplitFields(text);
  if (fields.size() < kFields) {
    throw Fatal(_("settings file"), path,
                Fill(_("has {1} of its six fields (a number and a label on each of three lines)"),
                     {std::to_string(fields.size())}));
  }
  EnvIni ini;
  ini.wait = ParseNumber(fields[0], 1, path);
  ini.hires_preset = ParseNumber(fields[2], 3, path);
  ini.fps_preset = ParseNumber(fields[4], 5, path);
  return ini;
}

EnvIni ReadEnvIni(const std::string& path) {
  std::string text;
  const FileFailure failure = ReadWholeFile(path, kMaxSettingsFileBytes, text);
  if (failure.at_open)
    throw Fatal(_("settings file"), path, Fill(_("cannot be opened: {1}"), {failure.reason}));
  if (!failure.reason.empty()) throw Fatal(_("settings file"), path, failure.reason);
  return ParseEnvIni(text, path);
}

void ApplyEnvIni(Settings& settings) {
  // The player's own copy, when there is one, is read instead of the installed one.
  const std::string& own = settings.ConfigFolder;
  const bool mine = !own.empty() && PlayerFileThere(own + "env.ini", _("settings file"),
                                                    _("the installed one is read instead"));
  const std::string path = (mine ? own : settings.AppPath) + "env.ini";
  const EnvIni ini = ReadEnvIni(path);
  settings.ReadyGoWait = ini.wait;
  // The file can tick a box but never clear one.
  if (ini.hires_preset == 1) settings.Form.hires_ticked = true;
  if (ini.fps_preset == 1) settings.Form.fps_ticked = true;
}

}  // namespace brawl
