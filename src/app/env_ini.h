#pragma once
#include <cstdint>
#include <string>

namespace brawl {

struct EnvIni {
  int16_t wait = 0;
  int16_t hires_preset = 0;
  int16_t fps_preset = 0;
};

// Reads the six fields of env.ini. Throws FatalError naming the file and what is wrong.
EnvIni ParseEnvIni(const std::string& text, const std::string& path);
EnvIni ReadEnvIni(const std::string& path);

struct Settings;
// Reads the data folder's env.ini, or the player's own copy, into the launch's choices: the
// wait, and the boxes it ticks.
void ApplyEnvIni(Settings& settings);

}  // namespace brawl
