#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace brawl {

// The game's words in the player's language. The English text is the message id; po/ holds
// the translations (po/README.md says how to add a string or a language).
// (A printf format keeps its checks through it.)
[[gnu::format_arg(1)]] const char* _(const char* english);
// Marks text for translation where it is only named; _() translates it where it is shown.
constexpr const char* N_(const char* english) {
  return english;
}

// `pattern` (already through _()) with {1}, {2}, ... replaced by the values, so that a
// translation may put them in another order.
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> values);

// Takes the player's language from the environment (LC_ALL, LC_MESSAGES, LANG, and LANGUAGE
// under any locale but C) and finds the game's catalogs in `locale_folder`, or only the
// system's when it is empty. Numbers keep the C locale's form. Called once, first thing.
void StartLanguage(const std::string& locale_folder);

}  // namespace brawl
