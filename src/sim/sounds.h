#pragma once
#include <cstdint>

namespace brawl {

// Every sound the rules ask for, in the order of the game's wave list.
enum class Sound : uint8_t { ReadyGo, Fire, Hit, Title0, Title1, Title2, Title3 };
constexpr int kSoundCount = 7;

// The wave file of each sound.
const char* WaveName(Sound sound);

}  // namespace brawl
