#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brawl {

// A game code: 8 characters a player reads aloud or types, shown as XXXX-XXXX. The alphabet has
// no look-alikes (no 0/O, no 1/I/L), so a code read off a screen is typed right.
inline constexpr std::string_view kCodeAlphabet = "23456789ABCDEFGHJKMNPQRSTUVWXYZ";
inline constexpr int kCodeLength = 8;

struct GameCode {
  std::array<char, kCodeLength> text{};  // upper case, from kCodeAlphabet
  friend bool operator==(const GameCode&, const GameCode&) = default;
};

// "ABCD-EFGH".
std::string FormatGameCode(const GameCode& code);

// Whether `text` has the shape of a code: 4 letters or digits, a dash, 4 more. Such a word is
// always taken for a code, never for a host name (a host of that name is reached as NAME:PORT
// or with a trailing dot), so the two never mix.
bool HasGameCodeShape(std::string_view text);

// The code `text` spells, in any case; nothing when it has the shape of a code but a character
// outside the alphabet, or not the shape at all.
std::optional<GameCode> ParseGameCode(std::string_view text);

// A code from random bytes, each character drawn without bias: `random` fills a buffer.
using RandomFill = void (*)(uint8_t* bytes, size_t count, void* context);
GameCode RandomGameCode(RandomFill random, void* context);

// Whether every character is of the alphabet, upper case.
bool IsGameCode(const GameCode& code);

}  // namespace brawl
