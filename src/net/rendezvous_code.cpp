#include "net/rendezvous_code.h"

namespace brawl {

namespace {

bool IsAlphanumeric(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string FormatGameCode(const GameCode& code) {
  std::string text(code.text.begin(), code.text.begin() + 4);
  text += '-';
  text.append(code.text.begin() + 4, code.text.end());
  return text;
}

bool HasGameCodeShape(std::string_view text) {
  if (text.size() != kCodeLength + 1 || text[4] != '-') return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i != 4 && !IsAlphanumeric(text[i])) return false;
  }
  return true;
}

std::optional<GameCode> ParseGameCode(std::string_view text) {
  if (!HasGameCodeShape(text)) return std::nullopt;
  GameCode code;
  int at = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == 4) continue;
    code.text[at++] = Upper(text[i]);
  }
  if (!IsGameCode(code)) return std::nullopt;
  return code;
}

GameCode RandomGameCode(RandomFill random, void* context) {
  // A byte is kept only below the largest multiple of the alphabet's size, so that every
  // character is equally likely.
  constexpr unsigned kSize = kCodeAlphabet.size();
  constexpr unsigned kLimit = 256 / kSize * kSize;
  GameCode code;
  int at = 0;
  while (at < kCodeLength) {
    uint8_t bytes[16];
    random(bytes, sizeof bytes, context);
    for (uint8_t b : bytes) {
      if (b >= kLimit || at == kCodeLength) continue;
      code.text[at++] = kCodeAlphabet[b % kSize];
    }
  }
  return code;
}

bool IsGameCode(const GameCode& code) {
  for (char c : code.text) {
    if (kCodeAlphabet.find(c) == std::string_view::npos) return false;
  }
  return true;
}

}  // namespace brawl
