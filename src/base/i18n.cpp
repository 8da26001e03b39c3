#include "base/i18n.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

namespace brawl {

namespace {

constexpr char kDomain[] = "billboard-brawl";

// The first of the variables that name the language of messages, as POSIX orders them.
const char* WantedLocale() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
}

}  // namespace

const char* _(const char* english) {
  return dgettext(kDomain, english);
}

std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> values) {
  std::string filled;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const size_t n = i + 2 < pattern.size() && pattern[i] == '{' && pattern[i + 2] == '}'
                         ? static_cast<size_t>(pattern[i + 1] - '1')
                         : values.size();
    if (n < values.size()) {
      filled += values.begin()[n];
      i += 2;
    } else {
      filled += pattern[i];
    }
  }
  return filled;
}

void StartLanguage(const std::string& locale_folder) {
  // Messages and characters follow the player; numbers stay in the C locale's form, so
  // that a dump or a file written reads the same everywhere.
  std::setlocale(LC_CTYPE, "");
  if (std::setlocale(LC_MESSAGES, "") == nullptr) {
    // A language whose locale is not installed (say ja_JP.UTF-8 on a fresh system) is
    // still the player's choice: gettext takes it from LANGUAGE under a UTF-8 locale.
    std::setlocale(LC_CTYPE, "C.UTF-8");
    std::setlocale(LC_MESSAGES, "C.UTF-8");
    const char* wanted = WantedLocale();
    if (wanted != nullptr && std::strcmp(wanted, "C") != 0 && std::strcmp(wanted, "POSIX") != 0)
      setenv("LANGUAGE", wanted, 0);
  }
  if (!locale_folder.empty()) bindtextdomain(kDomain, locale_folder.c_str());
  // GTK takes UTF-8 only, whatever the locale's own character set.
  bind_textdomain_codeset(kDomain, "UTF-8");
}

}  // namespace brawl
